// The snapshot's save dialog as set up for the command, and the choice read back from it.
#include "language.h"
#include "snapshot.h"

#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(SnapshotDialog, NonNativeSaveDialogWithTheTwoFiltersAndNoQuestionOfItsOwn) {
    QFileDialog dialog;
    SetUpSnapshotDialog(dialog);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite))
        << "the question is asked for the picture names";
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.nameFilters(), QStringList({"Jpeg File(*.jpg)", "Png File(*.png)"}));
    EXPECT_EQ(dialog.defaultSuffix(), "") << "the extension comes from the chosen filter";
    EXPECT_EQ(dialog.windowTitle(), QString::fromStdString(LoadLangString(211)));
    EXPECT_FALSE(dialog.accessibleName().isEmpty());
}

TEST(SnapshotDialog, ChoiceCarriesTheNameAsTypedAndTheChosenFilter) {
    QTemporaryDir folder;
    QFileDialog dialog;
    SetUpSnapshotDialog(dialog);
    dialog.setDirectory(folder.path());
    dialog.selectFile("clip");
    std::optional<SnapshotChoice> choice = SnapshotChoiceOf(dialog);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, QDir(folder.path()).filePath("clip"));
    EXPECT_EQ(choice->filterIndex, kSnapshotJpeg) << "the first filter is the default";

    dialog.selectNameFilter("Png File(*.png)");
    choice = SnapshotChoiceOf(dialog);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->filterIndex, kSnapshotPng);
    EXPECT_EQ(PlanSnapshot(*choice, true, true).rearName, QDir(folder.path()).filePath("clip_R.png"));
}

} // namespace
