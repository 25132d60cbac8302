#include "track_file_export.h"

#include <deque>
#include <sstream>

#include "clip_telemetry.h"
#include "csv_export.h"
#include "gpx_export.h"
#include "overlay_cues.h"
#include "recording_telemetry.h"
#include "subtitle_file.h"
#include "track_file_source.h"

namespace fs = std::filesystem;

namespace {

const char* FolderName(TrackFileKind kind) {
    switch (kind) {
    case TrackFileKind::kGpx:
        return "GPX";
    case TrackFileKind::kCsv:
        return "CSV";
    case TrackFileKind::kSrt:
        return "SRT";
    }
    return "";
}

// A recording whose telemetry cannot be read still has a name and a start time: its file gets no
// points (GPX, CSV) or cues of date and time only (SRT), as the KML export does.
RecordingTelemetry ReadTelemetry(const TrackFileSource& source, MediaInfo& info) {
    RecordingTelemetry telemetry;
    LoadRecordingTelemetry(source.path, info, telemetry);
    return telemetry;
}

std::string TrackText(TrackFileKind kind, const std::vector<TrackFileSource>& sources) {
    std::deque<RecordingTelemetry> telemetries; // the recordings' spans point into these
    std::deque<MediaInfo> infos;
    std::vector<TrackFileRecording> recordings;
    for (const TrackFileSource& source : sources) {
        MediaInfo& info = infos.emplace_back(source.info);
        const RecordingTelemetry& telemetry = telemetries.emplace_back(ReadTelemetry(source, info));
        recordings.push_back(TrackFileRecordingOf(source.path, info, telemetry));
    }
    std::ostringstream out;
    if (kind == TrackFileKind::kGpx)
        WriteGpx(out, recordings);
    else
        WriteTelemetryCsv(out, recordings);
    return out.str();
}

std::vector<OverlayCue> TripCues(const std::vector<TrackFileSource>& sources) {
    std::vector<OverlayCue> cues;
    int64_t offsetMs = 0;
    for (const TrackFileSource& source : sources) {
        MediaInfo info = source.info;
        const int64_t durationMs = info.m_uDurationMs;
        const ClipTelemetry telemetry = MakeClipTelemetry(info, ReadTelemetry(source, info));
        for (OverlayCue cue : BuildOverlayCues(telemetry, 0, durationMs)) {
            cue.startMs += offsetMs;
            cue.endMs += offsetMs;
            cues.push_back(std::move(cue));
        }
        offsetMs += durationMs;
    }
    return cues;
}

} // namespace

fs::path TrackFileFolder(const fs::path& documents, TrackFileKind kind) {
    if (documents.empty()) return {};
    return documents / "Halvorn Veltrix" / FolderName(kind);
}

const char* TrackFileExtension(TrackFileKind kind) {
    switch (kind) {
    case TrackFileKind::kGpx:
        return ".GPX";
    case TrackFileKind::kCsv:
        return ".CSV";
    case TrackFileKind::kSrt:
        return ".SRT";
    }
    return "";
}

TrackFileOutcome ExportTrackFile(TrackFileKind kind, const std::vector<TrackFileSource>& sources,
                                 const fs::path& folder, bool replace) {
    TrackFileOutcome outcome;
    if (sources.empty()) {
        outcome.message = "no recording is open";
        return outcome;
    }
    if (folder.empty()) {
        outcome.message = "there is no documents folder";
        return outcome;
    }
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        outcome.message = folder.string() + ": " + error.message();
        return outcome;
    }
    const TrackFileSource& first = sources.front();
    outcome.path = folder / TrackFileName(first.path.filename().string(), first.info.m_llStartTime,
                                          TrackFileExtension(kind));
    if (!replace && fs::exists(fs::symlink_status(outcome.path, error))) {
        outcome.status = TrackFileOutcome::Status::kExists;
        return outcome;
    }
    if (kind == TrackFileKind::kSrt) {
        if (!WriteSrtFile(outcome.path, TripCues(sources), replace, outcome.message)) return outcome;
    } else {
        outcome.message = SaveTrackFile(outcome.path, TrackText(kind, sources));
        if (!outcome.message.empty()) return outcome;
    }
    outcome.status = TrackFileOutcome::Status::kWritten;
    return outcome;
}
