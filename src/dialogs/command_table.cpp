#include "command_table.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <memory>

#include "lang_text.h"
#include "string_tables.h"

namespace {

QList<QKeySequence> Keys(std::initializer_list<QKeyCombination> keys) {
    QList<QKeySequence> list;
    for (QKeyCombination key : keys)
        list.append(QKeySequence(key));
    return list;
}

std::vector<CommandEntry> MakeCommandTable() {
    constexpr auto Ctrl = Qt::ControlModifier;
    constexpr auto Keypad = Qt::KeypadModifier;
    return {
        {1001, 210, false, false, Keys({Ctrl | Qt::Key_O})},
        {1078, IDS_ACC_PREVIOUS_FILE, false, false, Keys({Qt::Key_PageUp})},
        {1079, IDS_ACC_NEXT_FILE, false, false, Keys({Qt::Key_PageDown})},
        {1016, 141, false, true, Keys({Qt::Key_Space})},
        {1017, 216, false, false, {}},
        {1020, 215, false, false, Keys({Qt::Key_Minus, Keypad | Qt::Key_Minus})},
        {1018, 217, false, false, Keys({Qt::Key_Plus, Keypad | Qt::Key_Plus})},
        {CMD_SEEK_BACK, IDS_CMD_SEEK_BACK, false, false, Keys({Qt::Key_Left})},
        {CMD_SEEK_FORWARD, IDS_CMD_SEEK_FORWARD, false, false, Keys({Qt::Key_Right})},
        {CMD_NEXT_EVENT, IDS_CMD_NEXT_EVENT, false, false, Keys({Qt::Key_N})},
        {CMD_PREVIOUS_EVENT, IDS_CMD_PREVIOUS_EVENT, false, false, Keys({Qt::ShiftModifier | Qt::Key_N})},
        {1048, 220, true, true, Keys({Qt::Key_M})},
        {CMD_VOLUME_UP, IDS_CMD_VOLUME_UP, false, false, Keys({Qt::Key_Up})},
        {CMD_VOLUME_DOWN, IDS_CMD_VOLUME_DOWN, false, false, Keys({Qt::Key_Down})},
        {1080, IDS_ACC_FRONT_REAR_VIEW, false, true, {}},
        {1023, 225, true, false, {}},
        {CMD_FULL_VIDEO, IDS_CMD_FULL_VIDEO, true, false, Keys({Qt::Key_F})},
        {1006, 211, false, true, Keys({Ctrl | Qt::Key_S})},
        {1077, IDS_ACC_PRINT, false, false, Keys({Ctrl | Qt::Key_P})},
        {1024, 228, false, false, Keys({Ctrl | Qt::Key_E})},
        {CMD_EXPORT_GPX, 1303, false, false, {}},
        {CMD_EXPORT_CSV, 1304, false, false, {}},
        {CMD_EXPORT_SRT, 1305, false, false, {}},
        {CMD_CLIP_START, 1300, false, true, Keys({Qt::Key_I})},
        {CMD_CLIP_END, 1301, false, false, Keys({Qt::Key_O})},
        {CMD_EXPORT_CLIP, 1302, false, false, {}},
        {1005, 212, false, false, {}},
        {1014, 213, false, false, Keys({Qt::Key_Delete})},
        {1027, 236, true, false, {}},
        {1022, 222, true, true, {}},
        {1025, 230, true, false, {}},
        {1026, 233, true, false, {}},
        {1053, 147, false, true, {}},
        {1063, 149, false, false, {}},
        {1064, 151, false, false, {}},
        {1045, 243, false, false, {}},
        {4, 241, true, false, {}},
        {1015, 214, false, true, {}},
        {57670, 246, false, false, {}},
        {1046, 238, false, false, Keys({Ctrl | Qt::Key_Q})},
    };
}

} // namespace

const std::vector<CommandEntry>& CommandTable() {
    static const std::vector<CommandEntry> table = MakeCommandTable();
    return table;
}

const CommandEntry* FindCommand(int command) {
    const auto& table = CommandTable();
    const auto it = std::find_if(table.begin(), table.end(), [command](const CommandEntry& entry) {
        return entry.m_nCommand == command;
    });
    return it == table.end() ? nullptr : &*it;
}

int CommandForKey(const QKeySequence& key) {
    for (const CommandEntry& entry : CommandTable())
        if (entry.m_Keys.contains(key)) return entry.m_nCommand;
    return 0;
}

int64_t KeySeekTargetMs(int64_t currentMs, int64_t lengthMs, int direction) {
    const int64_t target = currentMs + (direction < 0 ? -kKeySeekStepMs : kKeySeekStepMs);
    return std::clamp<int64_t>(target, 0, std::max<int64_t>(lengthMs, 0));
}

int KeyVolumePosition(int position, int direction) {
    return std::clamp(position + (direction < 0 ? -kKeyVolumeStep : kKeyVolumeStep), 0, 100);
}

QString CommandLabel(const CommandEntry& entry) {
    return LangText(entry.m_nLabelId);
}

QMenu* BuildCommandMenu(QWidget* parent, const CommandCheckedFn& checked, const CommandTriggerFn& trigger,
                        const CommandLabelFn& label) {
    auto* menu = new QMenu(parent);
    menu->setAccessibleName(LangText(IDS_SHORTCUT_COMMAND));
    for (const CommandEntry& entry : CommandTable()) {
        if (entry.m_bGroupStart && !menu->isEmpty()) menu->addSeparator();
        QString text = label ? label(entry.m_nCommand) : QString();
        if (text.isEmpty()) text = CommandLabel(entry);
        // The text after a tab is the menu's shortcut column; the keys themselves live on the
        // window, so the menu's actions do not compete with them.
        if (!entry.m_Keys.isEmpty()) text += u'\t' + entry.m_Keys.first().toString(QKeySequence::NativeText);
        QAction* action = menu->addAction(text);
        action->setData(entry.m_nCommand);
        if (entry.m_bSwitch) {
            action->setCheckable(true);
            action->setChecked(checked && checked(entry.m_nCommand));
        }
        const int command = entry.m_nCommand;
        QObject::connect(action, &QAction::triggered, menu, [trigger, command] { trigger(command); });
    }
    return menu;
}

void PopupCommandMenu(QWidget* parent, const QPoint& globalPos, const CommandCheckedFn& checked,
                      const CommandTriggerFn& trigger, const CommandLabelFn& label) {
    // The command runs once the menu is gone: it may open a modal dialog or end the process.
    std::unique_ptr<QMenu> menu(BuildCommandMenu(parent, checked, [](int) {}, label));
    const QAction* chosen = menu->exec(globalPos);
    const int command = chosen ? chosen->data().toInt() : 0;
    menu.reset();
    if (command != 0) trigger(command);
}

QList<QAction*> InstallCommandShortcuts(QWidget* window, const CommandTriggerFn& trigger) {
    QList<QAction*> actions;
    for (const CommandEntry& entry : CommandTable()) {
        if (entry.m_Keys.isEmpty()) continue;
        auto* action = new QAction(CommandLabel(entry), window);
        action->setShortcuts(entry.m_Keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(entry.m_nCommand);
        const int command = entry.m_nCommand;
        QObject::connect(action, &QAction::triggered, window, [trigger, command] { trigger(command); });
        window->addAction(action);
        actions.append(action);
    }
    return actions;
}

std::vector<ShortcutRow> ShortcutRows() {
    std::vector<ShortcutRow> rows;
    for (const CommandEntry& entry : CommandTable()) {
        QStringList keys;
        for (const QKeySequence& key : entry.m_Keys)
            keys.append(key.toString(QKeySequence::NativeText));
        if (!keys.isEmpty()) rows.push_back({keys.join(QStringLiteral(", ")), CommandLabel(entry)});
    }
    rows.push_back({QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText),
                    LangText(IDS_CMD_LEAVE_FULL_VIDEO)});
    return rows;
}
