#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "clip_fixture.h"

namespace fs = std::filesystem;

extern char** environ;

namespace {
CommandRun Export(const std::string& args) {
    return RunCommand(std::string(VELTRIX_EXPORT_EXE) + " " + args + " 2>&1");
}

std::string Front() {
    return "'" + FixturePair().front.string() + "'";
}
std::string Rear() {
    return "'" + FixturePair().rear.string() + "'";
}
} // namespace

TEST(ExportCommand, UsageErrorsGiveTwo) {
    const fs::path dir = fixtures::ScratchDir("cli_usage");
    const std::string out = " -o '" + (dir / "a.mp4").string() + "'";
    for (const std::string& args :
         {std::string(), Front() + " --from 0 --to 2", Front() + " --to 2" + out, Front() + " --from 0" + out,
          Front() + " --from 3 --to 2" + out, Front() + " --from 2 --to 2" + out, Front() + " --from x --to 2" + out,
          Front() + " --from -1 --to 2" + out, Front() + " --from 0 --to 2 --layout diagonal" + out,
          Front() + " --from 0 --to 2 --layout side" + out, Front() + " --from 0 --to 2 --frobnicate" + out,
          Front() + " " + Rear() + " " + Rear() + " --from 0 --to 2" + out, Front() + " --from 0 --to 2 -o"}) {
        const CommandRun run = Export(args);
        EXPECT_EQ(run.status, 2) << args << "\n" << run.out;
        EXPECT_NE(run.out.find("usage: veltrix-export"), std::string::npos) << args;
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST(ExportCommand, FailuresGiveOneWithAMessage) {
    const fs::path dir = fixtures::ScratchDir("cli_failures");
    const CommandRun missing = Export("'" + (dir / "none.MP4").string() + "' --from 0 --to 2 -o '" +
                                      (dir / "a.mp4").string() + "'");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("none.MP4: no such file"), std::string::npos) << missing.out;
    std::ofstream(dir / "taken.mp4") << "mine";
    const CommandRun taken = Export(Front() + " --from 0 --to 2 -o '" + (dir / "taken.mp4").string() + "'");
    EXPECT_EQ(taken.status, 1);
    EXPECT_NE(taken.out.find("exists: not overwritten"), std::string::npos) << taken.out;
    EXPECT_EQ(NamesIn(dir), std::vector<std::string>{"taken.mp4"});
}

TEST(ExportCommand, WritesTheClipAndPrintsItsPath) {
    const fs::path dir = fixtures::ScratchDir("cli_written");
    const CommandRun front = Export(Front() + " --from 1 --to 3.5 --no-overlay -o '" + (dir / "f.mp4").string() + "'");
    ASSERT_EQ(front.status, 0) << front.out;
    EXPECT_EQ(front.out, (dir / "f.mp4").string() + "\n");
    EXPECT_NEAR(DurationOf(dir / "f.mp4"), 2.5, 0.2);
    EXPECT_EQ(StreamsOf(dir / "f.mp4"), (std::vector<std::string>{"video:h264", "subtitle:mov_text"}));
    // With a rear the layout is side by side unless chosen.
    ASSERT_EQ(Export(Front() + " " + Rear() + " --from 0 --to 2 -o '" + (dir / "s.mp4").string() + "'").status, 0);
    EXPECT_EQ(PictureSizeOf(dir / "s.mp4"), "320x120");
    ASSERT_EQ(Export(Front() + " " + Rear() + " --from 0 --to 2 --layout pip -o '" + (dir / "p.mp4").string() + "'").status, 0);
    EXPECT_EQ(PictureSizeOf(dir / "p.mp4"), "320x240");
}

TEST(ExportCommand, InterruptedLeavesNoFile) {
    const fs::path dir = fixtures::ScratchDir("cli_interrupted");
    const fs::path fake = fixtures::ScratchDir("cli_fake_ffmpeg");
    SlowFakeFfmpeg(fake);
    const std::string path = "PATH=" + fake.string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "");
    std::vector<std::string> env = {path};
    for (char** e = environ; *e; ++e)
        if (std::string(*e).rfind("PATH=", 0) != 0) env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string out = (dir / "clip.mp4").string(), front = FixturePair().front.string();
    std::vector<std::string> args = {VELTRIX_EXPORT_EXE, front, "--from", "0", "--to", "5", "-o", out};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, VELTRIX_EXPORT_EXE, nullptr, nullptr, argv.data(), envp.data()), 0);
    for (int i = 0; i < 200 && NamesIn(dir).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_FALSE(NamesIn(dir).empty()) << "the stand-in wrote its partial file";
    ::kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_TRUE(fs::is_empty(dir));
}
