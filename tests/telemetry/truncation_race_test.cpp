// A recording cut short while a reader walks it (a card pulled, a file rewritten by the camera):
// the reader rejects it and the process lives on. With a memory-mapped walk such a cut raised
// SIGBUS; these runs race a cutting thread against each reader, many times.
#ifdef VELTRIX_HAVE_FIXTURES

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "avi_reader.h"
#include "avi_writer.h"
#include "fixture_writer.h"
#include "ts_reader.h"
#include "ts_writer.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::microseconds;
using Parse = std::function<int(const fs::path&)>;

constexpr int kRounds = 100;
constexpr unsigned kMaxPauseMicros = 3000;

// Exits the process with 3 unless `result` is one of Parse's two answers.
void CheckResult(int result) {
    if (result != 0 && result != -1) std::_Exit(3);
}

// Copies `source` to `target` and cuts the copy to a random length after a random pause, while this
// thread parses the copy again and again until the cut is done, `kRounds` times. Ends the process
// with 3 when a parse returns anything but 0 or -1. Returns how many parses ran.
uint64_t RaceTruncation(const fs::path& source, const fs::path& target, const Parse& parse, unsigned seed) {
    std::mt19937 random(seed);
    const uint64_t size = fs::file_size(source);
    if (parse(source) != 0) std::_Exit(4); // the uncut recording must be accepted
    uint64_t parses = 0;
    for (int round = 0; round < kRounds; ++round) {
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        const microseconds pause(random() % kMaxPauseMicros);
        const off_t length = static_cast<off_t>(random() % size);
        std::atomic<bool> cut{false};
        std::thread cutter([&] {
            std::this_thread::sleep_for(pause);
            if (::truncate(target.c_str(), length) != 0) std::_Exit(5);
            cut = true;
        });
        while (!cut) {
            CheckResult(parse(target));
            ++parses;
        }
        cutter.join();
        CheckResult(parse(target));
    }
    return parses;
}

class TruncationRace : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_dir = fixtures::ScratchDir("truncation_race");
        fixtures::DriveSpec drive;
        drive.seconds = 10;
        const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        const fs::path clip = fixtures::SampleClip(320, 240, 10);
        s_ts = fixtures::WriteTsRecording(s_dir / "SOURCE.TS", telemetry, {}, clip).path;
        s_avi = fixtures::WriteAviRecording(s_dir / "SOURCE.AVI", telemetry, {}, clip).path;
    }

    // Runs the race in a child process, so that a fatal signal shows as this test's failure.
    static void ExpectSurvives(const fs::path& source, const Parse& parse) {
        const fs::path target = s_dir / ("CUT" + source.extension().string());
        EXPECT_EXIT(
            {
                RaceTruncation(source, target, parse, 1);
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), "");
    }

    static inline fs::path s_dir, s_ts, s_avi;
};

TEST_F(TruncationRace, TransportStreamWalksSurviveACut) {
    ExpectSurvives(s_ts, [](const fs::path& p) { return COrvexTsParser().ProbeTransportStream(p, false); });
    ExpectSurvives(s_ts, [](const fs::path& p) {
        MediaInfo info;
        COrvexTsParser parser;
        parser.SetMediaInfo(&info);
        return parser.ProbeTransportStream(p, true);
    });
}

TEST_F(TruncationRace, AviWalkSurvivesACut) {
    ExpectSurvives(s_avi, [](const fs::path& p) { return COrvexAviParser().Parse(p); });
}

} // namespace

#endif
