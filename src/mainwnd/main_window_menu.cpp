// Every command within reach although most buttons stay hidden: the context menu of the window
// background, the video panes and the lists, and the keyboard shortcuts. Both come from the one
// command table (src/dialogs/command_table.h); each command runs through the same code as its
// button.
#include "main_window.h"

#include "clip_commands.h"
#include "command_table.h"
#include "control_ids.h"
#include "event_presenter.h"
#include "file_operation_texts.h"
#include "skin_button.h"
#include "lang_text.h"
#include "playback_session.h"
#include "string_tables.h"
#include "track_file_commands.h"

#include <QAbstractScrollArea>
#include <QKeyEvent>

namespace {

// The volume button's standard picture: sound on.
constexpr int kSoundOnPicture = 0;

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
    switch (command) {
    case IDC_OPEN:
        OpenSource();
        break;
    case IDC_PREVIOUS:
        Previous();
        break;
    case IDC_NEXT:
        Next();
        break;
    case IDC_PLAY:
        PlayPause();
        break;
    case IDC_STOP:
        StopPlayback();
        break;
    case IDC_SLOWER:
        Slower();
        break;
    case IDC_FASTER:
        Faster();
        break;
    case CMD_SEEK_BACK:
        SeekBy(-kKeySeekStepMs);
        break;
    case CMD_SEEK_FORWARD:
        SeekBy(kKeySeekStepMs);
        break;
    case CMD_NEXT_EVENT:
        m_pEvents->GoToNext();
        break;
    case CMD_PREVIOUS_EVENT:
        m_pEvents->GoToPrevious();
        break;
    case IDC_VOLUME_BUTTON:
        ToggleMute();
        break;
    case CMD_VOLUME_UP:
        VolumeBy(kKeyVolumeStep);
        break;
    case CMD_VOLUME_DOWN:
        VolumeBy(-kKeyVolumeStep);
        break;
    case IDC_SWITCH:
        SwitchView();
        break;
    case IDC_ROTATE:
        Rotate();
        break;
    case CMD_FULL_VIDEO:
        ToggleFullVideo();
        break;
    case IDC_SNAPSHOT:
        Snapshot();
        break;
    case IDC_PRINT:
        Print();
        break;
    case IDC_KML:
        ExportKml();
        break;
    case CMD_CLIP_START:
        m_pClips->SetStart();
        break;
    case CMD_CLIP_END:
        m_pClips->SetEnd();
        break;
    case CMD_EXPORT_CLIP:
        m_pClips->ExportClip();
        break;
    case CMD_EXPORT_GPX:
        m_pTrackFiles->Export(TrackFileKind::kGpx);
        break;
    case CMD_EXPORT_CSV:
        m_pTrackFiles->Export(TrackFileKind::kCsv);
        break;
    case CMD_EXPORT_SRT:
        m_pTrackFiles->Export(TrackFileKind::kSrt);
        break;
    default: // the window's own commands, file commands, switches and dialogs
        OnCommand(command);
        break;
    }
}

bool COrvexMainWindow::IsCommandChecked(int command) {
    switch (command) {
    case IDC_VOLUME_BUTTON: {
        const auto* volume = Child<CSkinButton>(IDC_VOLUME_BUTTON);
        return volume && volume->m_nImageState == kSoundOnPicture;
    }
    case IDC_ROTATE:
        return m_pSession->Rotated();
    case CMD_FULL_VIDEO:
        return m_bFullVideo;
    case IDC_LOCK: // what the command would do: unlock when every ticked group is locked
        return InspectTickedGroups().AllLocked();
    case IDC_AUTO_NEXT:
        return AutoNextOn();
    case IDC_MAP_SWITCH:
        return m_bMapShown;
    case IDC_GSENSOR_SWITCH:
        return m_bGsrShown;
    case IDC_MAXIMIZE:
        return m_bMaximized;
    default:
        return false;
    }
}

void COrvexMainWindow::ShowCommandMenu(const QPoint& globalPos) {
    // The lock entry is named by what it will do to the ticked groups.
    const QString lockLabel = LangText(IsCommandChecked(IDC_LOCK) ? IDS_UNLOCK_FILES : IDS_LOCK_FILES);
    PopupCommandMenu(
        this, globalPos, [this](int command) { return IsCommandChecked(command); },
        [this](int command) { RunCommand(command); },
        [lockLabel](int command) { return command == IDC_LOCK ? lockLabel : QString(); });
}

void COrvexMainWindow::InstallCommandInput() {
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
    InstallCommandShortcuts(this, [this](int command) { RunCommand(command); });
}

// Escape is swallowed before dispatch everywhere in the window; here it only leaves full-screen
// video.
void COrvexMainWindow::OnEscapeKey() {
    if (EscapeActionFor(m_bFullVideo) == EscapeAction::kLeaveFullVideo) ToggleFullVideo();
}
