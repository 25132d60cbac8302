// `veltrix-probe --events` end to end on a real recording with planted events, with the default
// thresholds and with the ones of a settings file in the working folder.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../events/planted_events.h"
#include "fixture_writer.h"
#include "program_run.h"

namespace {
// A harsh run at 3 s (200 ms, 0.40625 G), an impact at 8 s (a 1.25 G braking peak in a 150 ms run).
std::filesystem::path PlantedRecording(const std::filesystem::path& dir) {
    planted::Series s;
    s.Quiet(60)
        .Forward(planted::kJustAboveHarsh, 4)
        .Quiet(96)
        .Forward(-40, 1)
        .Forward(-80, 1)
        .Forward(-40, 1)
        .Quiet(40);
    fixtures::Telemetry t;
    t.fixes.resize(3);
    for (auto& fix : t.fixes)
        fix = GpsFix{52.5, 13.4, 30, 40, 24, 6, 1, 12, 0, 0, 0, 1, {}};
    t.gsensor = s.Samples();
    t.gsensorAttr = {planted::kRate, planted::kFullScale, 0, 0};
    const auto path = dir / "2024_06_01_120000_01.MP4";
    fixtures::WriteRecording(path, kLayoutBlocks, t, {}, fixtures::SampleClip(160, 120, 3));
    return path;
}

ProgramRun RunEvents(const std::filesystem::path& workDir, const std::string& files) {
    return RunProgram("cd '" + workDir.string() + "' && " + VELTRIX_PROBE_EXE + " --events " + files +
                      " 2>/dev/null");
}
} // namespace

TEST(ProbeEvents, PlantedEventsAsJsonLines) {
    const auto dir = fixtures::ScratchDir("probe-events");
    const auto file = PlantedRecording(dir);
    const std::string head =
        "{\"path\":\"" + file.string() + "\",\"accepted\":true,\"gsensor_rate\":20,\"samples\":203,";
    ProgramRun run = RunEvents(dir, "'" + file.string() + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              head +
                  "\"events\":[{\"time_ms\":3000,\"duration_ms\":200,\"kind\":\"harsh\",\"peak_g\":0.40625},"
                  "{\"time_ms\":8000,\"duration_ms\":150,\"kind\":\"impact\",\"peak_g\":1.25}]}\n");

    // A file the readers reject gets its line too, and the status says so.
    const auto missing = dir / "no_such_file.MP4";
    run = RunEvents(dir, "'" + missing.string() + "' '" + file.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "{\"path\":\"" + missing.string() + "\",\"accepted\":false}\n");
    EXPECT_NE(run.out.find(head), std::string::npos);

    // The thresholds come from the settings file: with a harsh force above 0.5 G only the impact's
    // run counts, and with a higher impact force it is harsh.
    std::ofstream(dir / "Veltrix.ini") << "[EVENTS]\nHARSH_G=0.5\nIMPACT_G=1.3\n";
    run = RunEvents(dir, "'" + file.string() + "'");
    EXPECT_EQ(
        run.out,
        head + "\"events\":[{\"time_ms\":8000,\"duration_ms\":150,\"kind\":\"harsh\",\"peak_g\":1.25}]}\n");

    EXPECT_EQ(RunEvents(dir, "").status, 2);
    EXPECT_EQ(RunEvents(dir, "--bogus '" + file.string() + "'").status, 2);
}
