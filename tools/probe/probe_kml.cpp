#include "probe_kml.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "kml_export.h"
#include "parser_factory.h"
#include "recording_telemetry.h"

namespace {
constexpr int kWritten = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int Fail(const std::string& message) {
    std::cerr << "veltrix-probe: " << message << '\n';
    return kFailed;
}

// What the catalog's scan learns about the file: its reader's MediaInfo.
bool ExamineRecording(const std::filesystem::path& path, MediaInfo& info) {
    const auto parser = CreateVideoParser(path);
    if (!parser) return false;
    parser->SetMediaInfo(&info);
    return parser->Parse(path) == 0;
}
} // namespace

int RunKmlCommand(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "veltrix-probe: --kml takes one recording and one folder\n"
                     "usage: veltrix-probe --kml FILE DIR\n";
        return kUsageError;
    }
    const std::filesystem::path file = argv[2];
    const std::filesystem::path dir = argv[3];
    MediaInfo info;
    if (!ExamineRecording(file, info)) return Fail(file.string() + ": not a recording the readers accept");
    // The same steps as the viewer: the telemetry loaded when the recording becomes current,
    // then the export of what was loaded.
    RecordingTelemetry telemetry;
    if (LoadRecordingTelemetry(file, info, telemetry) != TelemetryLoad::kLoaded)
        return Fail(file.string() + ": its telemetry cannot be read");
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) return Fail(dir.string() + ": cannot create the folder: " + error.message());
    const KmlRecording recording{file.filename().string(), std::string(), info.m_llStartTime};
    const auto written = WriteKmlExport(dir, recording, telemetry.layout, telemetry.Fixes());
    if (!written) return Fail(dir.string() + ": the KML file cannot be written");
    std::cout << written->string() << '\n';
    std::cout.flush();
    return std::cout ? kWritten : kFailed;
}
