#include "command_set.h"

#include "lang_text.h"
#include "main_window.h"
#include "skin_button.h"
#include "string_tables.h"

#include <QAction>
#include <QMenu>

#include <memory>

CCommandSet::CCommandSet(COrvexMainWindow* window)
    : QObject(window), m_pWindow(window), m_runner([window](const WindowCommand& c) { c.run(*window); }) {
    for (const WindowCommand& command : WindowCommands()) {
        auto* action = new QAction(window);
        action->setData(command.id);
        action->setShortcuts(command.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setCheckable(command.checked != nullptr);
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
        window->addAction(action);
        m_actions.insert(id, action);
        m_ordered.append(action);
    }
    Retranslate();
}

void CCommandSet::AttachButtons() {
    for (const WindowCommand& command : WindowCommands()) {
        if (!command.button.has_value()) continue;
        auto* button = m_pWindow->ControlById<CSkinButton>(command.id);
        if (!button) continue;
        QAction* action = Action(command.id);
        connect(button, &QAbstractButton::clicked, action, [button, action] {
            // A toggle button has switched its own picture already; the command switches it.
            if (button->m_bToggle) button->m_nImageState = button->m_nImageState == 0 ? 1 : 0;
            action->trigger();
        });
    }
}

void CCommandSet::Retranslate() {
    for (const WindowCommand& command : WindowCommands())
        Action(command.id)->setText(LangText(command.textId));
}

void CCommandSet::Trigger(int id) {
    if (m_bMenuOpen) {
        m_nMenuChoice = id;
        return;
    }
    const WindowCommand* command = FindWindowCommand(id);
    if (!command || (command->enabled && !command->enabled(*m_pWindow))) return;
    m_runner(*command);
}

void CCommandSet::Refresh() {
    for (const WindowCommand& command : WindowCommands()) {
        QAction* action = Action(command.id);
        if (command.checked) action->setChecked(command.checked(*m_pWindow));
        action->setEnabled(!command.enabled || command.enabled(*m_pWindow));
        action->setText(LangText(command.label ? command.label(*m_pWindow) : command.textId));
    }
}

void CCommandSet::PopupMenu(const QPoint& globalPos) {
    Refresh();
    auto menu = std::make_unique<QMenu>(m_pWindow);
    menu->setAccessibleName(LangText(IDS_SHORTCUT_COMMAND));
    for (const WindowCommand& command : WindowCommands()) {
        if (command.groupStart && !menu->isEmpty()) menu->addSeparator();
        menu->addAction(Action(command.id));
    }
    m_bMenuOpen = true;
    m_nMenuChoice = 0;
    menu->exec(globalPos);
    m_bMenuOpen = false;
    menu.reset();
    Retranslate(); // the lock entry's menu words are not its tool-tip name
    const int chosen = m_nMenuChoice;
    m_nMenuChoice = 0;
    if (chosen != 0) Trigger(chosen);
}

std::vector<ShortcutRow> CCommandSet::ShortcutRows() const {
    std::vector<ShortcutRow> rows;
    for (const WindowCommand& command : WindowCommands()) {
        QStringList keys;
        for (const QKeySequence& key : command.keys)
            keys.append(key.toString(QKeySequence::NativeText));
        if (!keys.isEmpty()) rows.push_back({keys.join(QStringLiteral(", ")), LangText(command.textId)});
    }
    rows.push_back({QKeySequence(Qt::Key_Escape).toString(QKeySequence::NativeText),
                    LangText(IDS_CMD_LEAVE_FULL_VIDEO)});
    return rows;
}
