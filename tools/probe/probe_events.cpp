#include "probe_events.h"

#include <filesystem>
#include <iostream>

#include "event_settings.h"
#include "parser_factory.h"
#include "probe_json.h"
#include "recording_telemetry.h"
#include "settings.h"

namespace {
constexpr int kAllRead = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

bool ExamineRecording(const std::filesystem::path& path, MediaInfo& info) {
    const auto parser = CreateVideoParser(path);
    if (!parser) return false;
    parser->SetMediaInfo(&info);
    return parser->Parse(path) == 0;
}

std::string Field(const char* name, const std::string& value) {
    return probe::JsonString(name) + ':' + value;
}

// One file's line; false when the file was rejected or its telemetry could not be read.
bool PrintRecordingEvents(const std::filesystem::path& path, const EventThresholds& thresholds) {
    MediaInfo info;
    const bool accepted = ExamineRecording(path, info);
    std::string out = '{' + Field("path", probe::JsonString(path.string())) + ',' +
                      Field("accepted", accepted ? "true" : "false");
    bool read = accepted;
    if (accepted) {
        // The window's own loading: what it marks is what is printed here.
        RecordingTelemetry telemetry;
        const TelemetryLoad load = LoadRecordingTelemetry(path, info, telemetry);
        const auto& samples = telemetry.GSensor();
        out += ',' + Field("gsensor_rate", std::to_string(info.m_GsensorAttr[0])) + ',' +
               Field("samples", std::to_string(samples.size()));
        if (load == TelemetryLoad::kOpenFailed) {
            out += ',' + Field("error", probe::JsonString("its telemetry cannot be read"));
            read = false;
        }
        const auto events =
            DetectGForceEvents(samples, info.m_GsensorAttr[0], info.m_GsensorAttr[1], thresholds);
        out += ',' + Field("events", probe::EventsJson(events));
    }
    std::cout << out << "}\n";
    return read;
}
} // namespace

namespace probe {
std::string EventsJson(const std::vector<GForceEvent>& events) {
    std::string out = "[";
    for (const GForceEvent& e : events) {
        if (out.size() > 1) out += ',';
        out += '{' + Field("time_ms", JsonNumber(e.timeMs)) + ',' +
               Field("duration_ms", JsonNumber(e.durationMs)) + ',' +
               Field("kind", JsonString(EventKindName(e.kind))) + ',' + Field("peak_g", JsonNumber(e.peakG)) +
               '}';
    }
    return out + ']';
}
} // namespace probe

int RunEventsCommand(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.starts_with("-") && arg != "-") {
            std::cerr << "veltrix-probe: unknown option " << arg
                      << "\nusage: veltrix-probe --events FILE...\n";
            return kUsageError;
        }
        files.emplace_back(arg);
    }
    if (files.empty()) {
        std::cerr << "veltrix-probe: --events takes at least one recording\nusage: veltrix-probe --events "
                     "FILE...\n";
        return kUsageError;
    }
    const EventThresholds thresholds = ReadEventThresholds(GetAppSettings());
    int status = kAllRead;
    for (const auto& file : files)
        if (!PrintRecordingEvents(file, thresholds)) status = kSomeFailed;
    std::cout.flush();
    return std::cout ? status : kSomeFailed;
}
