#include "main_window.h"

#include "control_ids.h"
#include "escape_filter.h"
#include "map_window.h"
#include "language.h"
#include "orvex_list_ctrl.h"
#include "pane_picture_hold.h"
#include "playback_session.h"
#include "private_message.h"
#include "settings.h"
#include "trace.h"
#include "video_static.h"
#include "video_engine.h"
#include "win_edges.h"
#include "window_position.h"
#include "window_modes.h"
#include "window_title.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

#include <cstdio>
#include <unistd.h>

namespace {

const QColor kBackground(5, 5, 5);
const QColor kGripLine(150, 150, 150);

QIcon LoadAppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/131-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

// The icon resource lives in this static library; registering it here keeps it linked in.
static void InitIconResource() {
    Q_INIT_RESOURCE(veltrix_icons);
}

COrvexMainWindow::COrvexMainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_pSession(new PlaybackSession(this)) {

    CAppSettings& settings = GetAppSettings();
    settings.m_nMapKind = settings.ReadMapKind();

    InitIconResource();
    CreateModes();
    InitTimers();

    // The dialog background; children that do not paint themselves show it too.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(false);
    setMouseTracking(true);
}

COrvexMainWindow::~COrvexMainWindow() {
    if (m_pEscapeFilter && qApp) qApp->removeEventFilter(m_pEscapeFilter);
}

bool COrvexMainWindow::Create() {
    if (m_bCreated) return false;
    m_bCreated = true;
    return OnInitDialog();
}

bool COrvexMainWindow::OnInitDialog() {
    // 1. No system menu on a frameless window: the about button stays the way to the about box.
    CreateChildren();
    m_pEscapeFilter = new CEscapeFilter(this);
    qApp->installEventFilter(m_pEscapeFilter);
    SetRecordingTitle(QString());

    // 2.
    setWindowIcon(LoadAppIcon());
    ControlById(IDC_GAUGE_BOX)->show();
    ControlById(IDC_LOOK_DOWN)->show();

    // 3.
    CAppSettings& settings = GetAppSettings();
    m_pModes->SetMapShown(settings.ReadInt("UI", "MAP_ENABLE", 1) != 0);
    m_pModes->SetCurveShown(settings.ReadInt("UI", "GSNR_ENABLE", 1) != 0);
    if (!m_pModes->CurveShown()) ControlById(IDC_GSENSOR)->hide();

    // 4.-6.
    AttachEngines();
    InitSliders();
    InitEvents();
    InitEvidenceExports();
    InitTrips();
    // 7.
    CreateMapWindow();
    // 8.
    LoadSkins();
    ApplyAccessibleNames();
    m_pModes->SetChildrenReady();

    // 9.
    RestoreWindowPosition();
    m_pModes->LayOutAgain();
    // 10.
    SetupToolTips();
    InstallCommandInput();
    InitLists();
    // 11.
    ResetPlayback();
    // 12.
    m_pModes->SetPaneShown(IDC_FRONT_PANE, false);
    m_pModes->SetPaneShown(IDC_REAR_PANE, false);
    m_openCountdown.start();
    m_sliderFollow.start();
    return true;
}

void COrvexMainWindow::AttachEngines() {
    m_pSession->SetPanes(ControlById(IDC_FRONT_PANE)->winId(), ControlById(IDC_REAR_PANE)->winId());
    // Made before anything that opens the next recording at an end: the last picture is read first.
    new CPanePictureHold(*m_pSession, qobject_cast<CVideoStatic*>(ControlById(IDC_FRONT_PANE)),
                         qobject_cast<CVideoStatic*>(ControlById(IDC_REAR_PANE)), this);
    for (PlaybackSession::Side side : {PlaybackSession::Side::kFront, PlaybackSession::Side::kRear}) {
        if (m_pSession->Usable(side)) continue;
        QMessageBox::warning(this, QString::fromStdString(LoadLangString(136)),
                             QString::fromStdString(LoadLangString(140)));
    }
    ConnectSession();
}

CVideoEngine* COrvexMainWindow::FrontEngine() const {
    return &m_pSession->Engine(PlaybackSession::Side::kFront);
}

CVideoEngine* COrvexMainWindow::RearEngine() const {
    return &m_pSession->Engine(PlaybackSession::Side::kRear);
}

int COrvexMainWindow::SpeedIndex() const {
    return m_pSession->SpeedIndex();
}

int COrvexMainWindow::ViewMode() const {
    return m_pSession->ViewMode();
}

void COrvexMainWindow::RestoreWindowPosition() {
    const CAppSettings& settings = GetAppSettings();
    const int left = settings.ReadInt("WINPOS", "LEFT", 0);
    const int top = settings.ReadInt("WINPOS", "TOP", 0);
    const int right = settings.ReadInt("WINPOS", "RIGHT", kMinRestoredWidth);
    const int bottom = settings.ReadInt("WINPOS", "BOTTOM", kMinRestoredHeight);

    // Without any screen the minimum size stands in for the full-screen area.
    QSize area(kMinRestoredWidth, kMinRestoredHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry().size();

    const WindowPlacement placement =
        RestoredWindowPlacement(area.width(), area.height(), left, top, right, bottom);
    setGeometry(placement.x, placement.y, placement.width, placement.height);
    raise();
}

QRect COrvexMainWindow::WindowRect() const {
    return frameGeometry();
}

void COrvexMainWindow::SetRecordingTitle(const QString& fileName) {
    setWindowTitle(MainWindowTitle(fileName));
}

void COrvexMainWindow::OnClose() {
    Trace(" --->> COrvexDlg::OnClose ++++ \n");
    SaveWindowPosition();
    // Every write has reached the file; only the standard streams may still hold data.
    std::fflush(nullptr);
    _exit(0);
}

void COrvexMainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnClose();
}

void COrvexMainWindow::SetControlId(QWidget* control, int id) {
    if (control) control->setObjectName(QString::number(id));
}

int COrvexMainWindow::ControlId(const QWidget* control) {
    bool ok = false;
    const int id = control ? control->objectName().toInt(&ok) : 0;
    return ok ? id : 0;
}

QWidget* COrvexMainWindow::ControlById(int id) const {
    return findChild<QWidget*>(QString::number(id));
}

void COrvexMainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    for (int id : {IDC_FRONT_FRAME, IDC_REAR_FRAME}) {
        const QWidget* frame = ControlById(id);
        if (m_pModes->FrameEdge(id) && frame && frame->isVisible()) DrawSunkenEdge(painter, frame->geometry());
    }
    // Size grip: four diagonal lines in the bottom-right corner.
    painter.setPen(QPen(kGripLine, 1));
    const int w = width();
    const int h = height();
    for (int k : {25, 20, 15, 10})
        painter.drawLine(w - k, h, w, h - k);
}

// Private messages: whoever sends or posts them, the handler runs on the UI thread and the
// message counts as handled (the Windows handlers all return 0).
bool COrvexMainWindow::event(QEvent* event) {
    const int type = static_cast<int>(event->type());
    if (type >= MSG_PLAYER_ERROR && type <= MSG_REAR_END) {
        if (auto* message = dynamic_cast<PrivateMessage*>(event)) {
            OnPrivateMessage(type, message->wParam());
            return true;
        }
    }
    return QWidget::event(event);
}

void COrvexMainWindow::OnPrivateMessage(int message, uintptr_t wParam) {
    switch (message) {
    case MSG_LANGUAGE_CHANGED:
        OnLanguageChanged();
        break;
    case MSG_TOGGLE_FULL_VIDEO:
        m_pModes->ToggleFullVideo();
        break;
    case MSG_SHOW_CONTROLS:
        m_pModes->ShowControls(true);
        break;
    case MSG_GROUP_CHOSEN:
        OnGroupChosen(wParam);
        break;
    case MSG_FILE_CHOSEN:
        OnFileChosen(wParam);
        break;
    case MSG_MAP_CHANGED:
        OnMapChanged();
        break;
    case MSG_VOLUME_CHANGED:
        OnVolumeChanged(wParam);
        break;
    case MSG_SEEK_REQUEST:
        OnSeekRequest(wParam);
        break;
    default: // the players' messages go to the playback session; 0x0C03: nothing
        break;
    }
}

void COrvexMainWindow::OnLanguageChanged() {
    // The lists and the tool tips reload their texts; the accessible names follow the language.
    for (int id : {IDC_GROUP_LIST, IDC_FILE_LIST})
        if (auto* list = dynamic_cast<COrvexListCtrl*>(ControlById(id))) list->RetitleColumns();
    SetupToolTips();
    ApplyAccessibleNames();
}

void COrvexMainWindow::OnMapChanged() {
    CAppSettings& settings = GetAppSettings();
    settings.m_nMapKind = settings.ReadMapKind();
    if (m_pMapDlg) m_pMapDlg->LoadMapPage(settings.m_nMapKind);
}

int COrvexMainWindow::MapKind() const {
    return GetAppSettings().m_nMapKind;
}

// Single-shot ones stop after their tick; the speed label and the countdown stop themselves.
void COrvexMainWindow::InitTimers() {
    m_speedLabel.setInterval(300);
    connect(&m_speedLabel, &QTimer::timeout, this, &COrvexMainWindow::OnSpeedLabelTimer);
    m_openCountdown.setInterval(100);
    connect(&m_openCountdown, &QTimer::timeout, this, &COrvexMainWindow::OnOpenCountdownTimer);
    m_openingTimeout.setSingleShot(true);
    m_openingTimeout.setInterval(100000);
    connect(&m_openingTimeout, &QTimer::timeout, this, [this] { m_pSession->Opening().End(); });
    m_sliderFollow.setSingleShot(true);
    m_sliderFollow.setInterval(200);
    connect(&m_sliderFollow, &QTimer::timeout, this, &COrvexMainWindow::OnSliderFollowTimer);
}
