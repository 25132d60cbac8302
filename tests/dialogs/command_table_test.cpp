// What the window's commands share below the window: the keyboard's steps stay inside the
// recording and the volume range, and Escape only ever leaves full-screen video. The command
// table itself is tested with the window (tests/mainwnd/window_commands_test.cpp).
#include <gtest/gtest.h>

#include "command_table.h"

TEST(CommandTable, KeyStepsStayInsideTheRecordingAndTheVolumeRange) {
    EXPECT_EQ(KeySeekTargetMs(12000, 60000, -1), 7000);
    EXPECT_EQ(KeySeekTargetMs(3000, 60000, -1), 0);
    EXPECT_EQ(KeySeekTargetMs(57000, 60000, +1), 60000);
    EXPECT_EQ(KeySeekTargetMs(1000, 0, +1), 0) << "nothing open: nowhere to go";
    EXPECT_EQ(KeyVolumePosition(50, +1), 55);
    EXPECT_EQ(KeyVolumePosition(98, +1), 100);
    EXPECT_EQ(KeyVolumePosition(3, -1), 0);
}

TEST(CommandTable, EscapeLeavesFullScreenVideoAndOtherwiseDoesNothing) {
    EXPECT_EQ(EscapeActionFor(true), EscapeAction::kLeaveFullVideo);
    EXPECT_EQ(EscapeActionFor(false), EscapeAction::kNothing);
}
