#include "orvex_dlg.h"

#include "settings.h"
#include "trace.h"
#include "window_position.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStringList>

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

COrvexDlg::COrvexDlg(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    CAppSettings& settings = GetAppSettings();
    settings.m_nMapKind = settings.ReadMapKind();
    m_nMapKind = settings.m_nMapKind;

    InitIconResource();
    m_hIcon = LoadAppIcon();

    // The dialog background; children that do not paint themselves show it too.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(false);
}

COrvexDlg::~COrvexDlg() = default;

bool COrvexDlg::Create() {
    if (m_bCreated) return false;
    m_bCreated = true;
    return OnInitDialog();
}

bool COrvexDlg::OnInitDialog() {
    setWindowTitle(QStringLiteral("Veltrix"));
    setWindowIcon(m_hIcon);

    CAppSettings& settings = GetAppSettings();
    m_bMapShown = settings.ReadInt("UI", "MAP_ENABLE", 1) != 0;
    m_bGsrShown = settings.ReadInt("UI", "GSNR_ENABLE", 1) != 0;

    RestoreWindowPosition();
    return true;
}

void COrvexDlg::RestoreWindowPosition() {
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

QRect COrvexDlg::WindowRect() const {
    return frameGeometry();
}

void COrvexDlg::OnClose() {
    Trace(" --->> COrvexDlg::OnClose ++++ \n");
    const QRect rect = WindowRect();
    CAppSettings& settings = GetAppSettings();
    settings.WriteInt("WINPOS", "LEFT", rect.x());
    settings.WriteInt("WINPOS", "TOP", rect.y());
    settings.WriteInt("WINPOS", "RIGHT", rect.x() + rect.width());
    settings.WriteInt("WINPOS", "BOTTOM", rect.y() + rect.height());
    // Every write has reached the file; only the standard streams may still hold data.
    std::fflush(nullptr);
    _exit(0);
}

void COrvexDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnClose();
}

void COrvexDlg::SetControlId(QWidget* control, int id) {
    if (control) control->setObjectName(QString::number(id));
}

int COrvexDlg::ControlId(const QWidget* control) {
    bool ok = false;
    const int id = control ? control->objectName().toInt(&ok) : 0;
    return ok ? id : 0;
}

QWidget* COrvexDlg::ControlById(int id) const {
    return findChild<QWidget*>(QString::number(id));
}

void COrvexDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    // Size grip: four diagonal lines in the bottom-right corner.
    painter.setPen(QPen(kGripLine, 1));
    const int w = width();
    const int h = height();
    for (int k : {25, 20, 15, 10})
        painter.drawLine(w - k, h, w, h - k);
}
