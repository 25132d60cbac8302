// What the main window's commands share below the window: the ids of the commands without a
// button, the keyboard's steps, Escape, and the rows of the shortcut list. The commands
// themselves are the window's command table (src/mainwnd/window_commands.h).
#pragma once

#include <QString>

#include <cstdint>

// Commands without a button of their own (the others are their button's control id).
constexpr int CMD_SEEK_BACK = 0x7F01;
constexpr int CMD_SEEK_FORWARD = 0x7F02;
constexpr int CMD_VOLUME_UP = 0x7F03;
constexpr int CMD_VOLUME_DOWN = 0x7F04;
constexpr int CMD_FULL_VIDEO = 0x7F05; // enter or leave full-screen video, as message 0x0C04
constexpr int CMD_NEXT_EVENT = 0x7F06;     // play from the next G-force event
constexpr int CMD_PREVIOUS_EVENT = 0x7F07; // play from the previous one
constexpr int CMD_PLAY_TRIP = 0x7F08;      // play the open recording's trip from its start
constexpr int CMD_CLIP_START = 0x7F10;     // the clip's start at the playback time
constexpr int CMD_CLIP_END = 0x7F11;
constexpr int CMD_EXPORT_CLIP = 0x7F12;
constexpr int CMD_EXPORT_GPX = 0x7F13;
constexpr int CMD_EXPORT_CSV = 0x7F14;
constexpr int CMD_EXPORT_SRT = 0x7F15;

// Escape is not a shortcut: it leaves full-screen video and otherwise does nothing.
enum class EscapeAction { kNothing, kLeaveFullVideo };
constexpr EscapeAction EscapeActionFor(bool fullVideo) {
    return fullVideo ? EscapeAction::kLeaveFullVideo : EscapeAction::kNothing;
}

// Keyboard steps: the seek keys move 5 s and stay inside the recording; the volume keys move the
// volume (0..100) by 5.
constexpr int64_t kKeySeekStepMs = 5000;
constexpr int kKeyVolumeStep = 5;
int64_t KeySeekTargetMs(int64_t currentMs, int64_t lengthMs, int direction);
int KeyVolumePosition(int position, int direction);

// A row of the shortcut list: key in the platform's words, command label.
struct ShortcutRow {
    QString m_strKey;
    QString m_strCommand;
};
