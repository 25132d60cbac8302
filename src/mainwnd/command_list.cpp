#include "command_list.h"

#include "control_ids.h"
#include "language.h"
#include "window_commands.h"

namespace {

std::string KeyName(Qt::Key key, bool keypad) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return std::string(1, char('a' + (key - Qt::Key_A)));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return std::string(1, char('0' + (key - Qt::Key_0)));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return "F" + std::to_string(key - Qt::Key_F1 + 1);
    switch (key) {
    case Qt::Key_Space: return "space";
    case Qt::Key_Left: return "Left";
    case Qt::Key_Right: return "Right";
    case Qt::Key_Up: return "Up";
    case Qt::Key_Down: return "Down";
    case Qt::Key_PageUp: return "Prior";
    case Qt::Key_PageDown: return "Next";
    case Qt::Key_Home: return "Home";
    case Qt::Key_End: return "End";
    case Qt::Key_Delete: return "Delete";
    case Qt::Key_Return: return "Return";
    case Qt::Key_Minus: return keypad ? "KP_Subtract" : "minus";
    case Qt::Key_Plus: return keypad ? "KP_Add" : "plus";
    default: return {};
    }
}

} // namespace

std::string XKeyName(const QKeySequence& key) {
    if (key.count() != 1) return {};
    const QKeyCombination combination = key[0];
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    std::string name = KeyName(combination.key(), modifiers.testFlag(Qt::KeypadModifier));
    if (name.empty()) return {};
    if (modifiers.testFlag(Qt::ShiftModifier)) name = "shift+" + name;
    if (modifiers.testFlag(Qt::AltModifier)) name = "alt+" + name;
    if (modifiers.testFlag(Qt::ControlModifier)) name = "ctrl+" + name;
    return name;
}

void WriteCommandList(std::ostream& out) {
    const uint16_t english = LanguageIdOfRow(FindLanguage("ENG"));
    int position = 0;
    for (const WindowCommand& command : WindowCommands()) {
        std::string keys;
        for (const QKeySequence& key : command.keys) {
            const std::string name = XKeyName(key);
            if (name.empty()) continue;
            keys += (keys.empty() ? "" : " ") + name;
        }
        out << ++position << '\t' << command.id << '\t' << (command.id == IDC_CLOSE ? "quit" : "-") << '\t'
            << (keys.empty() ? "-" : keys) << '\t' << LoadLangStringFor(english, command.textId) << '\n';
    }
}
