#include "clip_telemetry.h"

#include <cmath>

#include "parser_factory.h"
#include "recording_telemetry.h"
#include "track_rules.h"

ClipTelemetry MakeClipTelemetry(const MediaInfo& info, RecordingTelemetry&& telemetry) {
    ClipTelemetry out;
    out.startTime = info.m_llStartTime;
    out.layout = telemetry.layout;
    const bool blocks = telemetry.layout == kLayoutBlocks;
    out.fixes = std::move(blocks ? telemetry.rawGps : telemetry.track);
    out.gsensor = std::move(blocks ? telemetry.rawGsensor : telemetry.gsensor);
    out.gpsRate = GpsRateOf(info);
    if (!(out.gpsRate > 0)) out.gpsRate = 1.0;
    out.gsensorRate = GSensorRateOf(info, out.gsensor.size());
    out.gsensorFullScale = info.m_GsensorAttr[1] != 0 ? info.m_GsensorAttr[1] : 8;
    return out;
}

std::optional<ExaminedRecording> ExamineRecording(const std::filesystem::path& path, std::string& error) {
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code)) {
        error = path.string() + ": no such file";
        return std::nullopt;
    }
    ExaminedRecording recording{path, {}};
    const auto parser = CreateVideoParser(path);
    if (parser) parser->SetMediaInfo(&recording.info);
    if (!parser || parser->Parse(path) != 0) {
        error = path.string() + ": not a recording the readers accept";
        return std::nullopt;
    }
    return recording;
}

ClipTelemetry LoadClipTelemetry(ExaminedRecording& recording) {
    RecordingTelemetry telemetry;
    if (LoadRecordingTelemetry(recording.path, recording.info, telemetry) != TelemetryLoad::kLoaded)
        telemetry = RecordingTelemetry{};
    return MakeClipTelemetry(recording.info, std::move(telemetry));
}
