// The slow card on its own: reads below its folder take the card's time, reads elsewhere do not,
// a hung card holds its reads until the flag goes, and the track readers' reads can be counted.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fixture_writer.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A running reader with the slow card preloaded; its output line parsed into numbers.
class Reader {
  public:
    Reader(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
        std::vector<std::string> envText;
        for (char** e = environ; *e; ++e)
            envText.push_back(*e);
        envText.push_back(std::string("LD_PRELOAD=") + VELTRIX_SLOW_CARD_LIBRARY);
        for (const auto& [k, v] : env)
            envText.push_back(k + "=" + v);
        std::vector<std::string> argText{VELTRIX_SLOW_CARD_READER};
        argText.insert(argText.end(), args.begin(), args.end());
        std::vector<char*> argv, envp;
        for (auto& a : argText)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : envText)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        EXPECT_EQ(posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        m_out = fds[0];
    }
    ~Reader() {
        if (m_pid > 0) Wait();
    }
    bool Exited() {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) != m_pid) return false;
        m_status = status, m_pid = -1;
        return true;
    }
    // Waits for the end; the numbers of its line (reads, bytes, seeks, ms, fixes).
    std::map<std::string, double> Wait() {
        std::string text;
        char buffer[256];
        for (ssize_t n; (n = ::read(m_out, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<size_t>(n));
        ::close(m_out);
        if (m_pid > 0) ::waitpid(m_pid, &m_status, 0), m_pid = -1;
        EXPECT_TRUE(WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0) << text;
        std::map<std::string, double> values;
        std::istringstream in(text);
        for (std::string field; in >> field;)
            if (const auto eq = field.find('='); eq != std::string::npos)
                values[field.substr(0, eq)] = std::stod(field.substr(eq + 1));
        return values;
    }

  private:
    pid_t m_pid = -1;
    int m_status = 0;
    int m_out = -1;
};

void WriteBytes(const fs::path& path, size_t size) {
    std::ofstream(path, std::ios::binary) << std::string(size, 'v');
}

class SlowCardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_root = fixtures::ScratchDir("slow_card_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(m_root / "card/DCIM");
        fs::create_directories(m_root / "disk");
    }
    std::map<std::string, std::string> Card(const std::string& extra = "") const {
        std::map<std::string, std::string> env{{"VELTRIX_SLOW_CARD_DIR", (m_root / "card").string()},
                                               {"VELTRIX_SLOW_CARD_MBPS", "30"},
                                               {"VELTRIX_SLOW_CARD_SEEK_MS", "1-3"}};
        if (!extra.empty()) env["VELTRIX_SLOW_CARD_HANG_FLAG"] = extra;
        return env;
    }
    fs::path m_root;
};

} // namespace

TEST_F(SlowCardTest, ReadsBelowTheCardTakeItsTimeAndOthersDoNot) {
    WriteBytes(m_root / "card/DCIM/big.MP4", 6'000'000);
    WriteBytes(m_root / "disk/big.MP4", 6'000'000);
    // 6 MB at 30 MB/s: 200 ms, plus one seek at the start.
    auto onCard = Reader({"seq", (m_root / "card/DCIM/big.MP4").string()}, Card()).Wait();
    EXPECT_GE(onCard["ms"], 195);
    EXPECT_LT(onCard["ms"], 1000);
    EXPECT_EQ(onCard["bytes"], 6'000'000);
    EXPECT_EQ(onCard["seeks"], 1) << "one read continues where the last one ended";
    // Through a path that is not literally below the folder: the real path counts.
    auto viaDots = Reader({"seq", (m_root / "disk/../card/DCIM/big.MP4").string()}, Card()).Wait();
    EXPECT_EQ(viaDots["bytes"], 6'000'000);

    auto elsewhere = Reader({"seq", (m_root / "disk/big.MP4").string()}, Card()).Wait();
    EXPECT_EQ(elsewhere["reads"], 0);
    EXPECT_LT(elsewhere["ms"], 100);

    // 40 spread reads of 4 KB: a seek of 1 to 3 ms each.
    auto random = Reader({"random", (m_root / "card/DCIM/big.MP4").string(), "40"}, Card()).Wait();
    EXPECT_EQ(random["seeks"], 40);
    EXPECT_GE(random["ms"], 40);
    EXPECT_LT(random["ms"], 40 * 3 + 200);
}

TEST_F(SlowCardTest, AHungCardHoldsItsReadsUntilTheFlagGoes) {
    WriteBytes(m_root / "card/DCIM/a.MP4", 100'000);
    const fs::path flag = m_root / "hang";
    WriteBytes(flag, 1);
    Reader reader({"seq", (m_root / "card/DCIM/a.MP4").string()}, Card(flag.string()));
    std::this_thread::sleep_for(400ms);
    EXPECT_FALSE(reader.Exited()) << "the read waits while the card hangs";
    fs::remove(flag);
    const auto start = std::chrono::steady_clock::now();
    const auto values = reader.Wait();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "released as soon as the flag is gone";
    EXPECT_EQ(values.at("bytes"), 100'000);
}

TEST_F(SlowCardTest, TheTrackReadersReadAWholeRecordTableAtOnce) {
    for (TelemetryLayout layout : {kLayoutJtdMeta, kLayoutVideMeta, kLayoutGpsBox}) {
        const fs::path path = m_root / "card/DCIM" / ("2024_06_01_12000" + std::to_string(layout) + "_01.MP4");
        fixtures::WriteRecording(path, layout, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, 600)));
        auto values = Reader({"track", path.string()}, Card()).Wait();
        const double records = layout == kLayoutGpsBox ? 600 : 3000;
        EXPECT_EQ(values["fixes"], records) << "layout " << layout;
        EXPECT_LE(values["reads"], 2) << "layout " << layout << ": the table's records lie together";
        EXPECT_GE(values["reads"], 1) << "layout " << layout;
    }
}
