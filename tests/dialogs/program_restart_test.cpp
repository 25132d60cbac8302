// The restart after a language change: the position is on disk before the new process exists, the
// new process runs the same program in the same working folder, and this one ends only when the
// start succeeded.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>

#include <fstream>
#include <sys/stat.h>

#include "dialog_test_support.h"
#include "program_restart.h"

using namespace dialogs_test;
namespace fs = std::filesystem;

namespace {

// A main window stand-in: writes its position like the close handling and records each step.
struct RestartRun {
    std::vector<std::string> steps;
    std::string positionSeenByStart;
    std::vector<QString> told;
    bool startSucceeds = true;

    RestartHooks Hooks() {
        RestartHooks hooks;
        hooks.savePosition = [this] {
            steps.push_back("position");
            GetAppSettings().WriteInt("WINPOS", "LEFT", 120);
            GetAppSettings().WriteInt("WINPOS", "RIGHT", 1420);
        };
        hooks.startProcess = [this](const QString&, const QString&, QString* reason) {
            steps.push_back("start");
            // What a new process would read from the file at this moment.
            positionSeenByStart = GetAppSettings().ReadString("WINPOS", "LEFT", "<none>") + "," +
                                  GetAppSettings().ReadString("WINPOS", "RIGHT", "<none>");
            if (!startSucceeds) *reason = QStringLiteral("No such file or directory");
            return startSucceeds;
        };
        hooks.endProcess = [this] { steps.push_back("end"); };
        hooks.tellFailure = [this](const QString& text) { told.push_back(text); };
        return hooks;
    }
};

// Waits (bounded) for a file that a detached process writes.
std::string WaitForFile(const fs::path& path) {
    for (int i = 0; i < 1000 && !fs::exists(path); ++i)
        QThread::msleep(10);
    QThread::msleep(50);
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

} // namespace

TEST(ProgramRestart, PositionOnDiskBeforeTheStartAndThisProcessEndsAfterIt) {
    SettingsScratch scratch("restart_ok");
    RestartRun run;
    EXPECT_EQ(RestartProgram(run.Hooks(), QStringLiteral("/bin/true"), QDir::tempPath()),
              RestartOutcome::kEnded);
    EXPECT_EQ(run.steps, (std::vector<std::string>{"position", "start", "end"}));
    EXPECT_EQ(run.positionSeenByStart, "120,1420");
    EXPECT_TRUE(run.told.empty());
}

TEST(ProgramRestart, AFailedStartKeepsThisProcessAndSaysWhy) {
    SettingsScratch scratch("restart_fail");
    scratch.StartIn("FRA");
    RestartRun run;
    run.startSucceeds = false;
    EXPECT_EQ(RestartProgram(run.Hooks(), QStringLiteral("/nonexistent/veltrix"), QDir::tempPath()),
              RestartOutcome::kStayed);
    EXPECT_EQ(run.steps, (std::vector<std::string>{"position", "start"})) << "no end after a failed start";
    ASSERT_EQ(run.told.size(), 1u);
    EXPECT_TRUE(run.told[0].contains(QStringLiteral("No such file or directory")));
    EXPECT_TRUE(run.told[0].startsWith(QStringLiteral("Le programme"))) << run.told[0].toStdString();
}

TEST(ProgramRestart, TheNewProcessIsThisProgramInThisWorkingFolder) {
    RestartRun run;
    QString program, folder;
    RestartHooks hooks = run.Hooks();
    hooks.savePosition = [] {};
    hooks.startProcess = [&](const QString& p, const QString& f, QString*) {
        program = p;
        folder = f;
        return true;
    };
    RestartProgram(hooks);
    EXPECT_EQ(program, QCoreApplication::applicationFilePath());
    EXPECT_EQ(folder, QDir::currentPath());
}

TEST(ProgramRestart, DetachedStartRunsTheProgramInTheGivenFolderOrReportsWhyNot) {
    SettingsScratch scratch("restart_detached");
    const fs::path folder = scratch.Root() / "work folder";
    fs::create_directories(folder);
    const fs::path script = scratch.Root() / "fake_viewer.sh";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\npwd > started_in.txt\n";
    }
    ::chmod(script.c_str(), 0755);
    QString reason;
    ASSERT_TRUE(StartDetachedProcess(QString::fromStdString(script.string()),
                                     QString::fromStdString(folder.string()), &reason))
        << reason.toStdString();
    EXPECT_EQ(WaitForFile(folder / "started_in.txt"), folder.string());

    reason.clear();
    EXPECT_FALSE(StartDetachedProcess(QStringLiteral("/nonexistent/veltrix"), QDir::tempPath(), &reason));
    EXPECT_FALSE(reason.isEmpty());
}
