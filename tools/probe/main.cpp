// veltrix-probe: prints what the telemetry readers find in recordings, one JSON object per file
// on one line, or the valid fixes as GPX. Exit status: 0 all accepted, 1 any rejected, 2 usage.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "gpx_writer.h"
#include "parser_factory.h"
#include "probe_events.h"
#include "probe_json.h"
#include "probe_kml.h"
#include "probe_track.h"
#include "scan_command.h"
#include "trips_command.h"

namespace {
constexpr int kAllAccepted = 0;
constexpr int kSomeRejected = 1;
constexpr int kUsageError = 2;

struct Options {
    bool track = false;
    bool gpx = false;
    std::vector<std::filesystem::path> files;
};

int Usage(const char* problem) {
    std::fprintf(stderr,
                 "veltrix-probe: %s\n"
                 "usage: veltrix-probe [--track] [--gpx] FILE...\n"
                 "       veltrix-probe --scan DIR\n"
                 "       veltrix-probe --trips DIR\n",
                 problem);
    return kUsageError;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& problem) {
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!filesOnly && arg == "--")
            filesOnly = true;
        else if (!filesOnly && arg == "--track")
            options.track = true;
        else if (!filesOnly && arg == "--gpx")
            options.gpx = true;
        else if (!filesOnly && arg.starts_with("-")) {
            problem = "unknown option " + arg;
            return false;
        } else
            options.files.emplace_back(arg);
    }
    if (options.files.empty()) problem = "no files given";
    return !options.files.empty();
}

// Examines one file with the reader of its type; true when the reader accepted it.
bool ProbeFile(const std::filesystem::path& path, MediaInfo& info) {
    const auto parser = CreateVideoParser(path);
    if (!parser) return false;
    parser->SetMediaInfo(&info);
    return parser->Parse(path) == 0;
}

int RunScan(int argc, char** argv) {
    if (argc != 3) return Usage("--scan takes one folder");
    return RunScanCommand(argv[2]);
}

int RunTrips(int argc, char** argv) {
    if (argc != 3) return Usage("--trips takes one folder");
    return RunTripsCommand(argv[2]);
}
} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--scan") return RunScan(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--kml") return RunKmlCommand(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--trips") return RunTrips(argc, argv);
    if (argc >= 2 && std::string(argv[1]) == "--events") return RunEventsCommand(argc, argv);
    Options options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem)) return Usage(problem.c_str());

    int status = kAllAccepted;
    std::vector<std::pair<std::filesystem::path, ProbeTrack>> tracks;
    for (const auto& path : options.files) {
        MediaInfo info;
        const bool accepted = ProbeFile(path, info);
        if (!accepted) status = kSomeRejected;
        ProbeTrack track;
        const bool withTrack =
            (options.track || options.gpx) && accepted && LoadTrackForProbe(path, info, track);
        if (options.gpx) {
            if (withTrack) tracks.emplace_back(path, std::move(track));
        } else {
            std::cout << probe::RecordingJson(path, accepted, info, options.track ? &track : nullptr) << '\n';
        }
    }
    if (options.gpx) probe::WriteGpx(std::cout, tracks);
    return status;
}
