// Every command within reach although most buttons stay hidden: the context menu of the window
// background, the video panes and the lists, and the keyboard shortcuts. All come from the one
// command table (window_commands.h) through the command set; each command runs one way.
#include "main_window.h"

#include "command_set.h"
#include "command_table.h"
#include "control_ids.h"
#include "playback_session.h"
#include "window_modes.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>

namespace {

// The keys that move through the lines of a list: with the focus in a list they stay the list's,
// so that groups can be chosen and selected (a selected line counts as marked for the file
// commands) without a mouse. Every other key stays the window's shortcut there too.
bool ListMovesWithKey(int key) {
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

class CListKeyKeeper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride) return false;
        if (!ListMovesWithKey(static_cast<QKeyEvent*>(event)->key())) return false;
        event->accept(); // the key is the list's: no shortcut for it here
        return true;
    }
};

} // namespace

void COrvexMainWindow::RunCommand(int command) {
    m_pCommands->Trigger(command);
}

void COrvexMainWindow::ShowCommandMenu(const QPoint& globalPos) {
    m_pCommands->PopupMenu(globalPos);
}

void COrvexMainWindow::InstallCommandInput() {
    // One action per command: its keys are the window's shortcuts, its button triggers it.
    m_pCommands = new CCommandSet(this);
    // The background: children that do not take the request hand it on to the window.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ShowCommandMenu(mapToGlobal(pos)); });
    // The panes and their frames, and the lists (whose requests come in viewport coordinates).
    for (int id :
         {IDC_FRONT_PANE, IDC_REAR_PANE, IDC_FRONT_FRAME, IDC_REAR_FRAME, IDC_FILE_LIST, IDC_GROUP_LIST}) {
        QWidget* control = ControlById(id);
        if (!control) continue;
        control->setContextMenuPolicy(Qt::CustomContextMenu);
        auto* scrollArea = qobject_cast<QAbstractScrollArea*>(control);
        QWidget* origin = scrollArea ? scrollArea->viewport() : control;
        connect(control, &QWidget::customContextMenuRequested, this,
                [this, origin](const QPoint& pos) { ShowCommandMenu(origin->mapToGlobal(pos)); });
        if (scrollArea) control->installEventFilter(new CListKeyKeeper(control));
    }
    m_pCommands->AttachButtons();
}

// Escape is swallowed before dispatch everywhere in the window; here it only leaves full-screen
// video.
void COrvexMainWindow::OnEscapeKey() {
    if (EscapeActionFor(m_pModes->FullVideo()) == EscapeAction::kLeaveFullVideo) m_pModes->ToggleFullVideo();
}
