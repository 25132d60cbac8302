// Every command of the main window with its label, whether it is a switch, and its keys: the one
// table behind the context menu, the keyboard shortcuts and the about box's shortcut list.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QPoint;
class QWidget;

// Commands without a button of their own (the others are their button's control id).
constexpr int CMD_SEEK_BACK = 0x7F01;
constexpr int CMD_SEEK_FORWARD = 0x7F02;
constexpr int CMD_VOLUME_UP = 0x7F03;
constexpr int CMD_VOLUME_DOWN = 0x7F04;
constexpr int CMD_FULL_VIDEO = 0x7F05; // enter or leave full-screen video, as message 0x0C04
constexpr int CMD_NEXT_EVENT = 0x7F06;     // play from the next G-force event
constexpr int CMD_PREVIOUS_EVENT = 0x7F07; // play from the previous one
constexpr int CMD_CLIP_START = 0x7F10;     // the clip's start at the playback time
constexpr int CMD_CLIP_END = 0x7F11;
constexpr int CMD_EXPORT_CLIP = 0x7F12;
constexpr int CMD_EXPORT_GPX = 0x7F13;
constexpr int CMD_EXPORT_CSV = 0x7F14;
constexpr int CMD_EXPORT_SRT = 0x7F15;

struct CommandEntry {
    int m_nCommand;
    unsigned m_nLabelId;        // the tool-tip text, or an accessible name / command text
    bool m_bSwitch;             // shown with a check mark when on
    bool m_bGroupStart;         // a separator comes before it in the menu
    QList<QKeySequence> m_Keys; // first one shown in the menu and the about box
};

// In menu order; every command once.
const std::vector<CommandEntry>& CommandTable();
// The entry of `command`, or null.
const CommandEntry* FindCommand(int command);
// The command a key sequence gives, or 0.
int CommandForKey(const QKeySequence& key);

// Escape is not a shortcut: it leaves full-screen video and otherwise does nothing.
enum class EscapeAction { kNothing, kLeaveFullVideo };
constexpr EscapeAction EscapeActionFor(bool fullVideo) {
    return fullVideo ? EscapeAction::kLeaveFullVideo : EscapeAction::kNothing;
}

// Keyboard steps: the seek keys move 5 s and stay inside the recording; the volume keys move the
// volume slider (0..100) by 5.
constexpr int64_t kKeySeekStepMs = 5000;
constexpr int kKeyVolumeStep = 5;
int64_t KeySeekTargetMs(int64_t currentMs, int64_t lengthMs, int direction);
int KeyVolumePosition(int position, int direction);

using CommandCheckedFn = std::function<bool(int command)>;
using CommandTriggerFn = std::function<void(int command)>;
// A label that depends on the window's state (the lock entry); empty: the table's label.
using CommandLabelFn = std::function<QString(int command)>;

// The label of a command in the current language.
QString CommandLabel(const CommandEntry& entry);

// A context menu with every command of the table in the current language, its first key shown
// beside it, switches checked as `checked` says; choosing one calls `trigger`. The caller shows
// and deletes it. `label`, when given, may name a command differently.
QMenu* BuildCommandMenu(QWidget* parent, const CommandCheckedFn& checked, const CommandTriggerFn& trigger,
                        const CommandLabelFn& label = {});

// Builds the menu, runs it at `globalPos` and deletes it again (the context menu of the window
// background, the video panes and the lists).
void PopupCommandMenu(QWidget* parent, const QPoint& globalPos, const CommandCheckedFn& checked,
                      const CommandTriggerFn& trigger, const CommandLabelFn& label = {});

// One action per command that has keys, added to `window` with window-wide shortcuts; pressing a
// key calls `trigger`. The actions belong to `window`.
QList<QAction*> InstallCommandShortcuts(QWidget* window, const CommandTriggerFn& trigger);

// The rows of the shortcut list: key in the platform's words, command label.
struct ShortcutRow {
    QString m_strKey;
    QString m_strCommand;
};
std::vector<ShortcutRow> ShortcutRows();
