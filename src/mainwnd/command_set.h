// The main window's commands as QActions, one per entry of the command table (window_commands.h):
// the skinned buttons trigger them, the context menu shows them, their shortcuts are the window's
// keys. Each command runs through one place, Trigger(), whatever way it came in.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

#include "command_table.h"
#include "window_commands.h"

class COrvexMainWindow;
class QAction;
class QMenu;
class QPoint;

class CCommandSet : public QObject {
    Q_OBJECT

  public:
    // Makes the actions and adds them to `window` (window-wide shortcuts); buttons are attached by
    // AttachButtons() once the children exist.
    explicit CCommandSet(COrvexMainWindow* window);

    // Each skinned button of the table triggers its action when clicked.
    void AttachButtons();
    // Labels in the current language (again after a language change).
    void Retranslate();

    QAction* Action(int id) const { return m_actions.value(id); }
    const QList<QAction*>& Actions() const { return m_ordered; }

    // Runs command `id` (the one way in for buttons, menu and keys). Unknown ids do nothing.
    void Trigger(int id);

    // The context menu with every command, check marks and the lock entry's words read now; the
    // chosen command runs after the menu is gone (it may open a modal dialog or end the process).
    void PopupMenu(const QPoint& globalPos);

    // The about box's shortcut list: keys in the platform's words, command label; Escape last.
    std::vector<ShortcutRow> ShortcutRows() const;

    // What running a command does; tests put a recorder here. The default runs the table's handler.
    using Runner = std::function<void(const WindowCommand&)>;
    void SetRunner(Runner runner) { m_runner = std::move(runner); }

  private:
    // Check marks, enabled states and state-dependent labels as they are now.
    void Refresh();

    COrvexMainWindow* m_pWindow;
    QHash<int, QAction*> m_actions;
    QList<QAction*> m_ordered;
    Runner m_runner;
    // While the menu runs, a chosen action only records its command here.
    bool m_bMenuOpen = false;
    int m_nMenuChoice = 0;
};
