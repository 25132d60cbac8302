// The file commands' work as jobs: a copy that does not fit starts nothing and says how much it
// needs, a second command while one runs is refused in words, a Cancel keeps what was complete
// and leaves no partial file, and the event loop goes on answering while a copy reads a slow card.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "dialog_test_support.h"
#include "file_command_jobs.h"
#include "safe_copy.h"

extern char** environ;

using namespace dialogs_test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// A folder with a card and an empty target folder, removed at the end.
struct JobFolder {
    explicit JobFolder(const std::string& name)
        : root(fs::temp_directory_path() / ("veltrix_file_jobs_" + name + "_" + std::to_string(::getpid()))) {
        fs::remove_all(root);
        fs::create_directories(root / "card");
        fs::create_directories(root / "out");
    }
    ~JobFolder() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    CopyPlan Plan(std::initializer_list<const char*> names, uint64_t bytesEach, const fs::path& out) const {
        CopyPlan plan;
        plan.report.m_bRan = true;
        for (const char* name : names) {
            std::ofstream(root / "card" / name, std::ios::binary) << std::string(bytesEach, name[0]);
            plan.items.push_back({root / "card" / name, out / name});
        }
        return plan;
    }
    std::vector<std::string> Names(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path root;
};

// The boxes the jobs would show, answered OK.
struct Boxes {
    AskUserFn Ask() {
        return [this](const UserMessage& message) {
            shown.push_back(message);
            return true;
        };
    }
    std::vector<UserMessage> shown;
};

} // namespace

TEST(FileCommandJobs, ACopyThatDoesNotFitStartsNothingAndNamesTheSpaceNeeded) {
    SettingsScratch scratch("jobs_space");
    scratch.StartIn("ENG");
    JobFolder folder("space");
    QWidget window;
    Boxes boxes;
    CFileCommandJobs jobs(&window, boxes.Ask());
    jobs.SetFreeSpaceQuery([](const fs::path&) { return std::optional<uint64_t>(5u << 20); });
    const FileOperationReport report = jobs.Copy(folder.Plan({"a.MP4", "b.MP4"}, 3u << 20, folder.root / "out/new"));
    EXPECT_EQ(report.Count(FileOperationOutcome::kDone), 0u);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].m_strText, "Not enough free space in " + (folder.root / "out").string() +
                                            ": the copy needs 6 MB, only 5 MB are free. Nothing was copied.");
    EXPECT_EQ(boxes.shown[0].m_eIcon, MessageIcon::kExclamation);
    EXPECT_TRUE(folder.Names(folder.root / "out").empty()) << "not even the target folder";

    // A real small disk says the same through the file system's own figures.
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small disk needs root";
    const fs::path disk = folder.root / "disk";
    fs::create_directories(disk);
    if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=4m") != 0) GTEST_SKIP() << "no tmpfs here";
    CFileCommandJobs real(&window, boxes.Ask());
    const FileOperationReport onDisk = real.Copy(folder.Plan({"c.MP4", "d.MP4"}, 3u << 20, disk / "Movie"));
    EXPECT_EQ(onDisk.Count(FileOperationOutcome::kDone), 0u);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_NE(boxes.shown[1].m_strText.find("needs 6 MB, only 4 MB are free"), std::string::npos)
        << boxes.shown[1].m_strText;
    EXPECT_TRUE(folder.Names(disk).empty());
    ::umount(disk.c_str());
}

TEST(FileCommandJobs, ASecondCommandWhileOneRunsIsRefusedInWords) {
    SettingsScratch scratch("jobs_busy");
    scratch.StartIn("ENG");
    QWidget window;
    Boxes boxes;
    CFileCommandJobs jobs(&window, boxes.Ask());
    EXPECT_FALSE(jobs.RefuseWhileBusy());
    std::atomic<bool> release{false};
    bool ended = false;
    ASSERT_TRUE(jobs.Runner().Start(
        "Delete Files",
        [&release](const auto&, const std::atomic<bool>& cancel) {
            while (!release && !cancel)
                std::this_thread::sleep_for(2ms);
            return FileOperationReport{};
        },
        [&](const FileJobOutcome&) { ended = true; }));
    EXPECT_TRUE(jobs.RefuseWhileBusy());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].m_strText, "Another file operation is still running (Delete Files). Wait until it "
                                        "has finished, or cancel it, and try again.");
    // A copy asked for meanwhile is refused the same way and touches nothing.
    JobFolder folder("busy");
    const FileOperationReport report = jobs.Copy(folder.Plan({"a.MP4"}, 1000, folder.root / "out"));
    EXPECT_EQ(report.Count(FileOperationOutcome::kDone), 0u);
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(folder.Names(folder.root / "out").empty());
    release = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended; }, 5000));
    EXPECT_FALSE(jobs.Busy());
}

// Runs inside a copy of this program that has the slow card preloaded (see the test below).
static void CopyFromTheSlowCardWhileThePingAnswers() {
    SettingsScratch scratch("jobs_slow");
    scratch.StartIn("ENG");
    const fs::path root = std::getenv("VELTRIX_TEST_JOB_ROOT");
    QWidget window;
    Boxes boxes;
    CFileCommandJobs jobs(&window, boxes.Ask());
    CopyPlan plan;
    plan.report.m_bRan = true;
    for (const char* name : {"a.MP4", "b.MP4", "c.MP4"})
        plan.items.push_back({root / "card" / name, root / "out" / name});
    const uint64_t fileBytes = fs::file_size(plan.items[0].source);
    // Cancel halfway through the second file, as the dialog's button would.
    jobs.Runner().SetProgressObserver([&](const FileJobProgress& p) {
        if (p.filesDone == 1 && p.bytesDone > fileBytes + fileBytes / 2) jobs.Runner().Cancel();
    });
    // The event loop's answer: the longest gap between ticks of a 10 ms timer.
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer ping;
    QObject::connect(&ping, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    ping.start(10);
    const FileOperationReport report = jobs.Copy(std::move(plan));
    const qint64 took = clock.elapsed();
    ping.stop();

    EXPECT_GT(took, 1000) << "the card was not slowed";
    EXPECT_LT(longest, 100) << "the event loop did not answer for " << longest << " ms";
    EXPECT_EQ(report.Count(FileOperationOutcome::kDone), 1u);
    EXPECT_EQ(report.m_Files.size(), 1u) << "the cancelled file is no failure";
    EXPECT_TRUE(boxes.shown.empty());
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(root / "out"))
        left.push_back(e.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"a.MP4"}) << "the complete file only, no hidden partial one";
    EXPECT_EQ(fs::file_size(root / "out/a.MP4"), fileBytes);
}

TEST(FileCommandJobs, CancelOnASlowCardKeepsTheCompleteFileAndTheLoopAnswers) {
    if (std::getenv("VELTRIX_TEST_JOB_ROOT")) return CopyFromTheSlowCardWhileThePingAnswers();
    JobFolder folder("slow");
    folder.Plan({"a.MP4", "b.MP4", "c.MP4"}, 20u << 20, folder.root / "out"); // 0.7 s each at 30 MB/s
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    env.push_back(std::string("LD_PRELOAD=") + VELTRIX_SLOW_CARD_LIBRARY);
    env.push_back("VELTRIX_SLOW_CARD_DIR=" + (folder.root / "card").string());
    env.push_back("VELTRIX_SLOW_CARD_MBPS=30");
    env.push_back("VELTRIX_TEST_JOB_ROOT=" + folder.root.string());
    std::vector<std::string> args{"/proc/self/exe",
                                  "--gtest_filter=FileCommandJobs.CancelOnASlowCardKeepsTheCompleteFileAndTheLoopAnswers"};
    std::vector<char*> argv, envp;
    for (auto& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "see the inner run's output above";
}
