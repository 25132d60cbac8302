// Every command of the main window, once: what it is called, its button, its keys, whether it is a
// switch and how its state is read, when it can be given, and what it does. The command set
// (command_set.h) makes one QAction of each entry; the buttons, the context menu, the keyboard,
// the tool tips, the accessible names, the about box and `veltrix --list-commands` all read them.
//
// Adding a command: one entry here and, when no window or part operation does it yet, that
// operation.
#pragma once

#include <QKeySequence>
#include <QList>

#include <optional>
#include <vector>

class COrvexMainWindow;

// A command button's pictures (0: none, drawn plain) and whether it shows at start; a button
// that does not show is disabled for good, except the about button.
struct ButtonLook {
    int standard = 0;
    int alternate = 0;
    int third = 0;
    bool shownAtStart = false;
};

struct WindowCommand {
    using Run = void (*)(COrvexMainWindow&);
    using State = bool (*)(COrvexMainWindow&);
    using LabelId = unsigned (*)(COrvexMainWindow&);

    int id;                   // the control id of its button, or a CMD_ id (command_table.h)
    unsigned textId;          // its label, tool tip and accessible name
    std::optional<ButtonLook> button; // its skinned button of the same id, where it has one
    QList<QKeySequence> keys; // the first one is shown in the menu and the about box
    bool groupStart;          // a separator comes before it in the menu
    Run run;
    State checked = nullptr;  // null: not a switch
    State enabled = nullptr;  // null: always
    LabelId label = nullptr;  // null: textId; else the menu names it by what it would do now
};

// In menu order.
const std::vector<WindowCommand>& WindowCommands();
// The entry of `id`, or null.
const WindowCommand* FindWindowCommand(int id);
