// The window's telemetry presenter on a simulated card: a large .TS loads while the UI thread keeps
// answering, a recording opened again comes from the kept telemetry without a read of the card, and
// a card that stops answering gives its message within seconds while the next opening still works.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fixture_writer.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct ProbeRun {
    int status = -1;
    std::string text;
    std::vector<std::map<std::string, double>> openings; // one per "open" line
};

ProbeRun RunProbe(const std::vector<std::string>& args, const std::map<std::string, std::string>& env,
                  bool preload = true) {
    std::vector<std::string> envText;
    for (char** e = environ; *e; ++e)
        envText.push_back(*e);
    if (preload) envText.push_back(std::string("LD_PRELOAD=") + VELTRIX_SLOW_CARD_LIBRARY);
    for (const auto& [k, v] : env)
        envText.push_back(k + "=" + v);
    std::vector<std::string> argText{VELTRIX_PRESENTER_PROBE};
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
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    ProbeRun run;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        run.text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    ::waitpid(pid, &run.status, 0);
    std::istringstream lines(run.text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("open ", 0) != 0) continue;
        std::map<std::string, double> values;
        std::istringstream in(line);
        for (std::string field; in >> field;)
            if (const auto eq = field.find('='); eq != std::string::npos)
                values[field.substr(0, eq)] = std::stod(field.substr(eq + 1));
        run.openings.push_back(values);
    }
    return run;
}

bool Succeeded(const ProbeRun& run) {
    return WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
}

class PresenterOnCard : public testing::Test {
  protected:
    void SetUp() override {
        card = fixtures::ScratchDir("presenter_card") / "DCIM";
        fs::create_directories(card);
    }
    fs::path Recording(const std::string& name, TelemetryLayout layout, int seconds = 20) {
        const fs::path path = card / name;
        fixtures::WriteRecording(path, layout, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(layout, seconds)));
        return path;
    }
    std::map<std::string, std::string> Card(const std::string& mbps = "30") const {
        return {{"VELTRIX_SLOW_CARD_DIR", card.parent_path().string()}, {"VELTRIX_SLOW_CARD_MBPS", mbps}};
    }
    fs::path card;
};

} // namespace

TEST_F(PresenterOnCard, LargeTsLoadsWhileTheUiThreadAnswers) {
    const fs::path ts = card / "2024_06_01_130000_01.TS";
    ASSERT_EQ(RunProbe({"make-ts", ts.string(), "48"}, {}, false).status, 0);
    // 48 MB at 8 MB/s: six seconds of reading, longer than the presenter waits before it asks the
    // card whether it still answers (it does: the load goes on and ends).
    const ProbeRun run = RunProbe({"open", ts.string()}, Card("8"));
    ASSERT_TRUE(Succeeded(run)) << run.text;
    ASSERT_EQ(run.openings.size(), 1u) << run.text;
    const auto& open = run.openings[0];
    EXPECT_EQ(open.at("shown"), 1) << run.text;
    EXPECT_GT(open.at("ms"), 4500) << "the load must really have waited for the card: " << run.text;
    EXPECT_EQ(open.at("timeout"), 0) << run.text;
    EXPECT_LT(open.at("gap_ms"), 100) << run.text;
}

TEST_F(PresenterOnCard, OpenedAgainFromKeptTelemetryWithoutReadingTheCard) {
    const fs::path a = Recording("2024_06_01_120000_01.MP4", kLayoutVideMeta);
    const fs::path b = Recording("2024_06_01_120100_01.MP4", kLayoutJtdMeta);
    const ProbeRun run = RunProbe({"open", a.string(), b.string(), a.string(), b.string()}, Card());
    ASSERT_TRUE(Succeeded(run)) << run.text;
    ASSERT_EQ(run.openings.size(), 4u) << run.text;
    for (const auto& open : run.openings)
        EXPECT_EQ(open.at("shown"), 1) << run.text;
    EXPECT_GT(run.openings[0].at("reads"), 0) << run.text;
    EXPECT_GT(run.openings[1].at("reads"), 0) << run.text;
    EXPECT_EQ(run.openings[2].at("reads"), 0) << "previous: " << run.text;
    EXPECT_EQ(run.openings[3].at("reads"), 0) << "next again: " << run.text;
    EXPECT_LT(run.openings[2].at("ms"), 100) << run.text;
}

TEST_F(PresenterOnCard, HangingCardGivesItsMessageAndTheNextOpeningWorks) {
    const fs::path a = Recording("2024_06_01_120000_01.MP4", kLayoutVideMeta);
    const fs::path b = Recording("2024_06_01_120100_01.MP4", kLayoutGpsBox);
    auto env = Card();
    env["VELTRIX_SLOW_CARD_HANG_FLAG"] = (card.parent_path() / "hang.flag").string();
    const ProbeRun run = RunProbe({"open", "--hang-first", a.string(), b.string()}, env);
    ASSERT_TRUE(Succeeded(run)) << run.text;
    ASSERT_EQ(run.openings.size(), 2u) << run.text;
    EXPECT_EQ(run.openings[0].at("shown"), 0) << run.text;
    EXPECT_EQ(run.openings[0].at("timeout"), 1) << run.text;
    EXPECT_LT(run.openings[0].at("ms"), 8000) << run.text;
    EXPECT_LT(run.openings[0].at("gap_ms"), 100) << run.text;
    EXPECT_NE(run.text.find("message "), std::string::npos);
    EXPECT_NE(run.text.find("2024_06_01_120000_01.MP4"), std::string::npos) << "the message names the recording";
    EXPECT_EQ(run.openings[1].at("shown"), 1) << run.text;
}
