// The snapshot's names, formats, pauses and failure rule, without engines or dialogs.
#include "snapshot_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(SnapshotNames, MarkGoesOnlyBeforeTheFileNamesExtension) {
    EXPECT_EQ(SnapshotPictureName("/home/j.doe/clip.jpg", "_F"), "/home/j.doe/clip_F.jpg");
    EXPECT_EQ(SnapshotPictureName("/home/j.doe/clip.jpg", "_R"), "/home/j.doe/clip_R.jpg");
    EXPECT_EQ(SnapshotPictureName("/media/Trip.2024/clip.png", "_R"), "/media/Trip.2024/clip_R.png");
    // Only the last dot of the name starts the extension; earlier ones belong to the stem.
    EXPECT_EQ(SnapshotPictureName("/shots/run.1.jpg", "_F"), "/shots/run.1_F.jpg");
    // No extension (or a hidden name's leading dot): the mark goes at the end.
    EXPECT_EQ(SnapshotPictureName("/a.b/clip", "_F"), "/a.b/clip_F");
    EXPECT_EQ(SnapshotPictureName("/a/.jpg", "_F"), "/a/.jpg_F");
}

TEST(SnapshotNames, FilterExtensionIsAppendedOnlyWhenTheNameHasNone) {
    EXPECT_EQ(SnapshotPathWithExtension("/home/j.doe/clip", kSnapshotJpeg), "/home/j.doe/clip.jpg");
    EXPECT_EQ(SnapshotPathWithExtension("/home/j.doe/clip", kSnapshotPng), "/home/j.doe/clip.png");
    EXPECT_EQ(SnapshotPathWithExtension("/home/j.doe/clip.", kSnapshotPng), "/home/j.doe/clip.png");
    EXPECT_EQ(SnapshotPathWithExtension("/home/j.doe/.hidden", kSnapshotJpeg), "/home/j.doe/.hidden.jpg");
    // A name that has an extension keeps it, whichever filter was chosen.
    EXPECT_EQ(SnapshotPathWithExtension("/x/clip.png", kSnapshotJpeg), "/x/clip.png");
    EXPECT_EQ(SnapshotPathWithExtension("/x/clip.JPG", kSnapshotPng), "/x/clip.JPG");
    EXPECT_EQ(SnapshotExtension("/x.y/clip"), "");
    EXPECT_EQ(SnapshotExtension("/x/clip.jpeg"), "jpeg");
}

TEST(SnapshotNames, FormatFollowsTheExtensionThenTheFilter) {
    EXPECT_STREQ(SnapshotImageFormat("/x/clip.png", kSnapshotJpeg), "png");
    EXPECT_STREQ(SnapshotImageFormat("/x/clip.JPEG", kSnapshotPng), "jpeg");
    EXPECT_STREQ(SnapshotImageFormat("/x/clip.Jpg", kSnapshotPng), "jpeg");
    EXPECT_STREQ(SnapshotImageFormat("/x/clip.bmp", kSnapshotPng), "png");
    EXPECT_STREQ(SnapshotImageFormat("/x/clip.bmp", kSnapshotJpeg), "jpeg");
}

TEST(SnapshotPlan, NamesOnlyForUsableEnginesAfterTheExtensionIsCompleted) {
    const SnapshotPlan both = PlanSnapshot({"/home/j.doe/clip", kSnapshotPng}, true, true);
    EXPECT_EQ(both.frontName, "/home/j.doe/clip_F.png");
    EXPECT_EQ(both.rearName, "/home/j.doe/clip_R.png");
    EXPECT_STREQ(both.format, "png");
    const SnapshotPlan rearOnly = PlanSnapshot({"/d/clip.jpg", kSnapshotPng}, false, true);
    EXPECT_EQ(rearOnly.frontName, "");
    EXPECT_EQ(rearOnly.rearName, "/d/clip_R.jpg");
    EXPECT_STREQ(rearOnly.format, "jpeg");
    const SnapshotPlan none = PlanSnapshot({"/d/clip.jpg", kSnapshotJpeg}, false, false);
    EXPECT_TRUE(none.frontName.isEmpty() && none.rearName.isEmpty());
}

TEST(SnapshotPlan, OnlyUsablePlayingEnginesArePausedAndResumed) {
    EXPECT_TRUE(PausesForSnapshot(true, true));
    EXPECT_FALSE(PausesForSnapshot(true, false)) << "a paused video stays paused";
    EXPECT_FALSE(PausesForSnapshot(false, true)) << "an unusable engine is never called";
    EXPECT_FALSE(PausesForSnapshot(false, false));
}

TEST(SnapshotPlan, UserHearsOfFailureUnlessHeDeclinedEveryPicture) {
    EXPECT_FALSE(SnapshotNothingWritten({2, 0, 2}));
    EXPECT_FALSE(SnapshotNothingWritten({2, 0, 1})) << "one picture written is a success";
    EXPECT_TRUE(SnapshotNothingWritten({2, 0, 0}));
    EXPECT_TRUE(SnapshotNothingWritten({0, 0, 0})) << "no usable engine";
    EXPECT_TRUE(SnapshotNothingWritten({2, 1, 0})) << "the picture he wanted failed";
    EXPECT_FALSE(SnapshotNothingWritten({2, 2, 0})) << "he declined both overwrites";
    EXPECT_FALSE(SnapshotNothingWritten({1, 1, 0}));
}

} // namespace
