// The boxes around save as, delete and lock: the system's own texts, the failure report, and the
// steps of each command through every path (empty list, cancel, nothing marked, failures).
#include <gtest/gtest.h>

#include <cerrno>

#include "dialog_test_support.h"
#include "file_command_flows.h"
#include "file_operation_texts.h"

using namespace dialogs_test;
namespace fs = std::filesystem;

namespace {

// A main window stand-in recording each step and each box; the user's answers are scripted.
struct FakeWindow {
    std::vector<std::string> steps;
    std::vector<UserMessage> boxes;
    std::vector<bool> answers; // for OK/Cancel boxes, in order; missing: OK
    bool empty = false;
    bool somethingPlays = true;
    std::optional<fs::path> folder;
    FileOperationReport report;
    MarkedSelection selection = OneGroup(); // what the ticked lines mark
    bool lockRuns = true;
    std::vector<fs::path> overwriteAsked;
    std::vector<fs::path> copyTargets;

    FileCommandHooks Hooks() {
        FileCommandHooks hooks;
        hooks.catalogEmpty = [this] { return empty; };
        hooks.pausePlaying = [this] {
            steps.push_back("pause");
            return somethingPlays;
        };
        hooks.resumePlaying = [this] { steps.push_back("resume"); };
        hooks.stopEngines = [this] { steps.push_back("stop"); };
        hooks.hideVideoPanes = [this] { steps.push_back("hide"); };
        hooks.pickFolder = [this] {
            steps.push_back("pick");
            return folder;
        };
        hooks.copyMarked = [this](const fs::path& destination, const ConfirmOverwriteFn& confirm) {
            steps.push_back("copy");
            FileOperationReport result = report;
            for (const fs::path& target : copyTargets) {
                overwriteAsked.push_back(target);
                result.Add(destination / target.filename(), confirm(target)
                                                                ? FileOperationOutcome::kDone
                                                                : FileOperationOutcome::kSkippedDeclined);
            }
            return result;
        };
        hooks.deleteMarked = [this] {
            steps.push_back("delete");
            return report;
        };
        hooks.inspectMarked = [this] { return selection; };
        hooks.lockMarked = [this] {
            steps.push_back("lock");
            return LockRun(true);
        };
        hooks.unlockMarked = [this] {
            steps.push_back("unlock");
            return LockRun(false);
        };
        hooks.refreshLockPicture = [this] { steps.push_back("picture"); };
        hooks.ask = [this](const UserMessage& message) {
            boxes.push_back(message);
            if (message.m_eButtons == MessageButtons::kOk) return true;
            const size_t asked = std::count_if(boxes.begin(), boxes.end(), [](const UserMessage& m) {
                return m.m_eButtons != MessageButtons::kOk;
            });
            return asked <= answers.size() ? bool(answers[asked - 1]) : true;
        };
        return hooks;
    }

    // The files of the marked groups change state (every group locked after a lock, none after
    // an unlock), unless the files refuse.
    FileOperationReport LockRun(bool lock) {
        FileOperationReport run;
        run.m_bRan = true;
        for (const fs::path& file : selection.m_Files)
            run.Add(file, lockRuns ? FileOperationOutcome::kDone : FileOperationOutcome::kFailed,
                    lockRuns ? 0 : EACCES);
        if (lockRuns) selection.m_nLockedGroups = lock ? selection.m_nGroups : 0;
        return run;
    }

    static MarkedSelection OneGroup() {
        MarkedSelection one;
        one.m_nGroups = 1;
        one.m_Files = {"/card/Movie/G_001.MP4", "/card/Movie_b/G_001_b.MP4"};
        return one;
    }
};

FileOperationReport Ran() {
    FileOperationReport report;
    report.m_bRan = true;
    return report;
}

} // namespace

TEST(FileOperationTexts, TheBoxesSayTheSystemsOwnWords) {
    SettingsScratch scratch("file_texts");
    scratch.StartIn("ENG");
    EXPECT_EQ(NoFilesInListMessage().m_strText, "No files in list.");
    EXPECT_EQ(NoFilesInListMessage().m_strCaption, "OK");
    EXPECT_EQ(NoSelectedFilesMessage().m_strText,
              "No seletected files. Please select some files and try this operation again.");
    EXPECT_EQ(NoSelectedFilesMessage().m_strCaption, "Confirm file selection");
    EXPECT_EQ(FolderNotExistMessage().m_strText, "Folder is not exist.");
    EXPECT_EQ(FolderNotExistMessage().m_strCaption, "Warning");
    EXPECT_EQ(FolderNotExistMessage().m_eIcon, MessageIcon::kExclamation);
    MarkedSelection twelve;
    twelve.m_nGroups = 3;
    for (int i = 1; i <= 12; ++i)
        twelve.m_Files.push_back("/card/Movie/F_" + std::to_string(i) + ".MP4");
    twelve.m_Files[0] = "/card/Movie/Fahrt_M\xFCnchen.MP4"; // not UTF-8: shown with U+FFFD
    const UserMessage question = DeleteQuestion(twelve);
    EXPECT_EQ(question.m_strText, "Are you sure to delete the checked files?\n12 files in 3 groups will be deleted.");
    EXPECT_EQ(question.m_strCaption, "Delete Files");
    EXPECT_EQ(question.m_eButtons, MessageButtons::kYesNo) << "the default answer is No";
    EXPECT_EQ(question.m_strDetails, "Fahrt_M\uFFFDnchen.MP4\nF_2.MP4\nF_3.MP4\nF_4.MP4\nF_5.MP4\nF_6.MP4\n"
                                     "F_7.MP4\nF_8.MP4\nF_9.MP4\nF_10.MP4\nFiles not listed: 2");
    // A path that looks like a format is written as it is.
    const UserMessage overwrite = OverwriteQuestion("/media/backup/50%s/20240101_120000_001.MP4");
    EXPECT_EQ(overwrite.m_strText,
              "File \"/media/backup/50%s/20240101_120000_001.MP4\" is already exist. Are "
              "you sure to overwrite it?");
    EXPECT_EQ(overwrite.m_strCaption, "Confirm to overwrite the file.");
    EXPECT_EQ(overwrite.m_eButtons, MessageButtons::kOkCancel);

    scratch.StartIn("FRA");
    EXPECT_EQ(NoFilesInListMessage().m_strText, LoadLangStringFor(1036, 145));
}

TEST(FileOperationTexts, TheFailureReportCountsNamesAndGivesTheReasons) {
    SettingsScratch scratch("file_report");
    scratch.StartIn("ENG");
    FileOperationReport report = Ran();
    report.Add("/card/DCIM/A_001.MP4", FileOperationOutcome::kDone);
    report.Add("/card/DCIM/A_002.MP4", FileOperationOutcome::kSkippedLocked);
    report.Add("/backup/A_003.MP4", FileOperationOutcome::kFailed, EACCES);
    report.Add("/backup/A_004.MP4", FileOperationOutcome::kFailed, ENOENT);
    report.Add("/backup/A_005.MP4", FileOperationOutcome::kFailed, ENOSPC);
    report.Add("/backup/A_006.MP4", FileOperationOutcome::kSkippedDeclined);
    report.Add("/backup/A_007.MP4", FileOperationOutcome::kSkippedSameFile);
    report.Add("/backup/A_008.MP4", FileOperationOutcome::kFailed, EIO);
    report.Add("/backup/A_009.MP4", FileOperationOutcome::kFailed, EROFS);
    report.Add("/backup/A_010.MP4", FileOperationOutcome::kFailed, EDQUOT);

    const std::optional<UserMessage> box = FailureReport(report, 5);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->m_strText, "Some files could not be processed (7 of 10):\n"
                              "A_002.MP4: locked\n"
                              "A_003.MP4: permission denied\n"
                              "A_004.MP4: file or folder missing\n"
                              "A_005.MP4: disk full\n"
                              "A_008.MP4: " +
                                  std::generic_category().message(EIO) +
                                  "\n"
                                  "Files not listed: 2");
    EXPECT_EQ(box->m_strCaption, "Warning");
    EXPECT_EQ(box->m_eIcon, MessageIcon::kExclamation);

    scratch.StartIn("GER");
    const std::optional<UserMessage> german = FailureReport(report, 10);
    ASSERT_TRUE(german);
    EXPECT_EQ(german->m_strText.find("Files not listed"), std::string::npos);
    EXPECT_NE(german->m_strText.find("A_010.MP4: " + LoadLangStringFor(1031, 1134)), std::string::npos);
    EXPECT_EQ(german->m_strText.rfind(LoadLangStringFor(1031, 1130).substr(0, 10), 0), 0u);
}

TEST(FileOperationTexts, NoReportWhenEveryFileWasDoneOrSkippedOnPurpose) {
    FileOperationReport report = Ran();
    EXPECT_FALSE(FailureReport(report));
    report.Add("/backup/A.MP4", FileOperationOutcome::kDone);
    report.Add("/backup/B.MP4", FileOperationOutcome::kSkippedDeclined);
    report.Add("/card/C.MP4", FileOperationOutcome::kSkippedSameFile);
    EXPECT_FALSE(FailureReport(report));
}

TEST(FileCommands, EveryCommandOnAnEmptyListSaysNoFilesInListAndTouchesNothing) {
    SettingsScratch scratch("file_empty");
    scratch.StartIn("ENG");
    for (auto run : {RunSaveAs, RunDelete, RunLockToggle}) {
        FakeWindow window;
        window.empty = true;
        EXPECT_EQ(run(window.Hooks()), FileCommandResult::kEmptyList);
        ASSERT_EQ(window.boxes.size(), 1u);
        EXPECT_EQ(window.boxes[0].m_strText, "No files in list.");
        EXPECT_EQ(window.boxes[0].m_strCaption, "OK");
        EXPECT_TRUE(window.steps.empty());
    }
}

TEST(FileCommands, CancellingSaveAsOrDeleteResumesWhateverWasPaused) {
    FakeWindow saveAs; // e.g. a rear file playing alone: the rear engine was paused
    EXPECT_EQ(RunSaveAs(saveAs.Hooks()), FileCommandResult::kCancelled);
    EXPECT_EQ(saveAs.steps, (std::vector<std::string>{"pause", "pick", "resume"}));

    FakeWindow remove;
    remove.answers = {false};
    EXPECT_EQ(RunDelete(remove.Hooks()), FileCommandResult::kCancelled);
    EXPECT_EQ(remove.steps, (std::vector<std::string>{"pause", "resume"}));

    FakeWindow idle;
    idle.somethingPlays = false;
    RunSaveAs(idle.Hooks());
    EXPECT_EQ(idle.steps, (std::vector<std::string>{"pause", "pick"})) << "nothing paused, nothing resumed";
}

TEST(FileCommands, SaveAsAsksPerExistingFileAndReportsFailures) {
    SettingsScratch scratch("file_save_as");
    scratch.StartIn("ENG");
    FakeWindow window;
    window.folder = scratch.Root();
    window.copyTargets = {scratch.Root() / "A_001.MP4", scratch.Root() / "A_002.MP4"};
    window.answers = {false, true};
    window.report = Ran();
    window.report.Add(scratch.Root() / "A_003.MP4", FileOperationOutcome::kFailed, ENOSPC);
    EXPECT_EQ(RunSaveAs(window.Hooks()), FileCommandResult::kSomeFailed);
    EXPECT_EQ(window.steps, (std::vector<std::string>{"pause", "pick", "stop", "copy", "hide"}));
    ASSERT_EQ(window.boxes.size(), 3u);
    EXPECT_EQ(window.boxes[0].m_strCaption, "Confirm to overwrite the file.");
    EXPECT_NE(window.boxes[0].m_strText.find((scratch.Root() / "A_001.MP4").string()), std::string::npos);
    EXPECT_EQ(window.boxes[2].m_strText, "Some files could not be processed (1 of 3):\nA_003.MP4: disk full");
}

TEST(FileCommands, SaveAsToAMissingFolderOrWithNothingMarkedSaysSo) {
    SettingsScratch scratch("file_save_as_fail");
    scratch.StartIn("ENG");
    FakeWindow missing;
    missing.folder = scratch.Root() / "not there";
    EXPECT_EQ(RunSaveAs(missing.Hooks()), FileCommandResult::kNoFolder);
    EXPECT_EQ(missing.steps, (std::vector<std::string>{"pause", "pick", "stop", "hide"}));
    ASSERT_EQ(missing.boxes.size(), 1u);
    EXPECT_EQ(missing.boxes[0].m_strText, "Folder is not exist.");

    // Nothing ticked: said before the folder is asked for, and no command pauses or touches files.
    for (auto run : {RunSaveAs, RunDelete, RunLockToggle}) {
        FakeWindow unmarked;
        unmarked.folder = scratch.Root();
        unmarked.selection = {};
        EXPECT_EQ(run(unmarked.Hooks()), FileCommandResult::kNothingMarked);
        ASSERT_EQ(unmarked.boxes.size(), 1u);
        EXPECT_EQ(unmarked.boxes[0].m_strCaption, "Confirm file selection");
        EXPECT_TRUE(unmarked.steps.empty());
    }
}

TEST(FileCommands, ConfirmedDeleteStopsHidesDeletesAndReportsALockedRearFile) {
    SettingsScratch scratch("file_delete");
    scratch.StartIn("ENG");
    FakeWindow window;
    window.report = Ran();
    window.report.Add("/card/B_001_R.MP4", FileOperationOutcome::kSkippedLocked);
    window.report.Add("/card/B_001.MP4", FileOperationOutcome::kDone);
    EXPECT_EQ(RunDelete(window.Hooks()), FileCommandResult::kSomeFailed);
    EXPECT_EQ(window.steps, (std::vector<std::string>{"pause", "stop", "hide", "delete"}));
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0].m_strText.rfind("Are you sure to delete the checked files?\n2 files in 1 groups", 0), 0u);
    EXPECT_EQ(window.boxes[1].m_strText, "Some files could not be processed (1 of 2):\nB_001_R.MP4: locked");

    FakeWindow all;
    all.report = Ran();
    all.report.Add("/card/C.MP4", FileOperationOutcome::kDone);
    EXPECT_EQ(RunDelete(all.Hooks()), FileCommandResult::kDone);
    EXPECT_EQ(all.boxes.size(), 1u) << "only the question";
}

TEST(FileCommands, LockDecidesFromTheTickedGroupsAndSaysTheOutcome) {
    SettingsScratch scratch("file_lock");
    scratch.StartIn("ENG");
    FakeWindow window;
    EXPECT_EQ(RunLockToggle(window.Hooks()), FileCommandResult::kDone);
    EXPECT_EQ(RunLockToggle(window.Hooks()), FileCommandResult::kDone);
    EXPECT_EQ(window.steps, (std::vector<std::string>{"lock", "picture", "unlock", "picture"}));
    ASSERT_EQ(window.boxes.size(), 2u);
    EXPECT_EQ(window.boxes[0].m_strText, "Locked: 2 files in 1 groups.");
    EXPECT_EQ(window.boxes[0].m_strCaption, "Lock files");
    EXPECT_EQ(window.boxes[1].m_strText, "Unlocked: 2 files in 1 groups.");
    EXPECT_EQ(window.boxes[1].m_strCaption, "Unlock files");

    // A locked and an unlocked group ticked together: the unlocked one is locked.
    FakeWindow mixed;
    mixed.selection.m_nGroups = 2;
    mixed.selection.m_nLockedGroups = 1;
    RunLockToggle(mixed.Hooks());
    EXPECT_EQ(mixed.steps.front(), "lock");

    // Nothing changed on disk: said so in words.
    FakeWindow unchanged;
    unchanged.selection.m_Files.clear();
    EXPECT_EQ(RunLockToggle(unchanged.Hooks()), FileCommandResult::kDone);
    ASSERT_EQ(unchanged.boxes.size(), 1u);
    EXPECT_EQ(unchanged.boxes[0].m_strText, "Nothing to change.");

    // Files that refuse are named with the reason.
    FakeWindow refused;
    refused.lockRuns = false;
    EXPECT_EQ(RunLockToggle(refused.Hooks()), FileCommandResult::kSomeFailed);
    ASSERT_EQ(refused.boxes.size(), 1u);
    EXPECT_NE(refused.boxes[0].m_strText.find("G_001_b.MP4: permission denied"), std::string::npos);
    EXPECT_EQ(refused.boxes[0].m_eIcon, MessageIcon::kExclamation);
}
