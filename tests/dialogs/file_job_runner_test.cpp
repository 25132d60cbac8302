// The file job runner: progress from the worker reaches the UI thread and the dialog, the dialog
// appears only for a job that takes over half a second, Cancel stops the job (a cancelled copy
// leaves no partial file), and a second job is refused with words while one runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "file_job_runner.h"
#include "safe_copy.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
// A job of `files` steps of `step` each, reporting after every step, stopping when cancelled.
FileJob SteppedJob(size_t files, std::chrono::milliseconds step, std::atomic<bool>* sawCancel = nullptr) {
    return [=](const std::function<void(const FileJobProgress&)>& progress, const std::atomic<bool>& cancel) {
        FileOperationReport report;
        report.m_bRan = true;
        FileJobProgress p;
        p.filesTotal = files;
        p.bytesTotal = files * 1000;
        for (size_t i = 0; i < files && !cancel; ++i) {
            std::this_thread::sleep_for(step);
            p.filesDone = i + 1;
            p.bytesDone = p.filesDone * 1000;
            p.elapsedSeconds = static_cast<double>((i + 1) * step.count()) / 1000.0;
            progress(p);
            report.Add("/out/" + std::to_string(i), FileOperationOutcome::kDone);
        }
        if (sawCancel) *sawCancel = cancel.load();
        return report;
    };
}
} // namespace

TEST(FileJobRunnerTest, ProgressReachesTheUiThreadAndAShortJobShowsNoDialog) {
    QWidget window;
    CFileJobRunner runner(&window);
    std::vector<FileJobProgress> seen;
    bool onUiThread = true;
    runner.SetProgressObserver([&](const FileJobProgress& p) {
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        seen.push_back(p);
    });
    std::optional<FileJobOutcome> outcome;
    ASSERT_TRUE(runner.Start("Save as", SteppedJob(5, 20ms), [&](const FileJobOutcome& o) { outcome = o; }));
    EXPECT_TRUE(runner.Running());
    bool dialogShown = false;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            dialogShown = dialogShown || (runner.Dialog() && runner.Dialog()->isVisible());
            return outcome.has_value();
        },
        5000));
    EXPECT_FALSE(dialogShown) << "a job of 100 ms needs no dialog";
    EXPECT_FALSE(runner.Running());
    EXPECT_FALSE(outcome->cancelled);
    EXPECT_EQ(outcome->report.m_Files.size(), 5u);
    EXPECT_EQ(outcome->progress.filesDone, 5u);
    ASSERT_FALSE(seen.empty());
    EXPECT_TRUE(onUiThread);
    EXPECT_EQ(seen.back().bytesDone, 5000u);
}

TEST(FileJobRunnerTest, ALongJobShowsItsFiguresAndCancelStopsIt) {
    QWidget window;
    CFileJobRunner runner(&window);
    std::atomic<bool> sawCancel{false};
    std::optional<FileJobOutcome> outcome;
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(runner.Start("Save as", SteppedJob(100, 50ms, &sawCancel), [&](const FileJobOutcome& o) { outcome = o; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return runner.Dialog() && runner.Dialog()->isVisible(); }, 5000));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 450ms) << "not before half a second";
    ASSERT_TRUE(QTest::qWaitFor([&] { return runner.Dialog()->value() > 0; }, 5000));
    const QString text = runner.Dialog()->labelText();
    EXPECT_TRUE(text.contains("Save as: file")) << text.toStdString();
    EXPECT_TRUE(text.contains(" of 98 KB")) << text.toStdString();
    EXPECT_TRUE(text.contains("/s, about")) << text.toStdString();

    // A second command while this one runs: refused with words, nothing started.
    QString refusal;
    bool secondRan = false;
    EXPECT_FALSE(runner.Start("Delete", SteppedJob(1, 1ms), [&](const FileJobOutcome&) { secondRan = true; }, &refusal));
    EXPECT_TRUE(refusal.contains("Save as")) << refusal.toStdString();

    QPushButton* cancel = runner.Dialog()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->accessibleName(), "Cancel");
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 5000));
    EXPECT_TRUE(outcome->cancelled);
    EXPECT_TRUE(sawCancel);
    EXPECT_LT(outcome->report.m_Files.size(), 100u);
    EXPECT_FALSE(secondRan);
    EXPECT_EQ(runner.Dialog(), nullptr);

    // Once the first has ended, the next job runs.
    ASSERT_TRUE(runner.Start("Delete", SteppedJob(1, 1ms), [&](const FileJobOutcome&) { secondRan = true; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return secondRan; }, 5000));
}

TEST(FileJobRunnerTest, ACancelledCopyLeavesNoPartialFile) {
    const fs::path dir = fs::temp_directory_path() / ("veltrix_job_runner_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "card");
    std::vector<CopyItem> items;
    for (const char* name : {"a.MP4", "b.MP4", "c.MP4"}) {
        std::ofstream(dir / "card" / name, std::ios::binary) << std::string(3 * kCopyBlockBytes, name[0]);
        items.push_back({dir / "card" / name, dir / "out" / name});
    }
    QWidget window;
    CFileJobRunner runner(&window);
    std::optional<FileJobOutcome> outcome;
    bool cancelAsked = false;
    runner.SetProgressObserver([&](const FileJobProgress& p) {
        if (!cancelAsked && p.filesDone == 1 && p.bytesDone > 4 * kCopyBlockBytes) {
            cancelAsked = true;
            runner.Cancel(); // from the UI thread, as the dialog's button does
        }
    });
    ASSERT_TRUE(runner.Start(
        "Save as",
        [items](const auto& progress, const std::atomic<bool>& cancel) {
            CCopyJob job(items);
            // Slow enough that the UI thread's cancel arrives within the second file.
            return job.Run([&](const FileJobProgress& p) {
                std::this_thread::sleep_for(30ms);
                progress(p);
            }, cancel);
        },
        [&](const FileJobOutcome& o) { outcome = o; }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
    EXPECT_TRUE(outcome->cancelled);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir / "out"))
        left.push_back(e.path().filename());
    EXPECT_EQ(left, std::vector<std::string>{"a.MP4"}) << "the complete file only, no hidden partial one";
    EXPECT_EQ(fs::file_size(dir / "out/a.MP4"), 3 * kCopyBlockBytes);
    fs::remove_all(dir);
}
