#include "map_window.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPalette>

#include "web_engine_setup.h"
#include "map_web_view.h"
#include "map_scripts.h"
#include "private_message.h"
#include "settings.h"

CMapWindow* g_pMapWnd = nullptr;

namespace {

// "Consolas" at 10.9 points; where the desktop lacks it, its fixed-pitch font of the same size.
QFont CoordLabelFont() {
    QFont font(QStringLiteral("Consolas"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(10.9);
    if (QFontInfo(font).fixedPitch()) return font;
    QFont fallback = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fallback.setPointSizeF(10.9);
    return fallback;
}

} // namespace

QString MapPageUrl(int kind) {
    switch (kind) {
    case 1:
        return QStringLiteral("file:///res/BMap.html");
    case 2:
        return QStringLiteral("file:///res/OpenLayer.html");
    default:
        return QStringLiteral("file:///res/gmap.html");
    }
}

CMapWindow::CMapWindow(QWidget* parent) : QFrame(parent) {
    g_pMapWnd = this;
    setObjectName(QString::number(IDD_HTML_MAP));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_timerMapRefresh.setObjectName(QStringLiteral("TIMER_MAP_REFRESH"));
    m_timerMapRefresh.setSingleShot(true);
    connect(&m_timerMapRefresh, &QTimer::timeout, this, [this] { OnTimer(TIMER_MAP_REFRESH); });
}

CMapWindow::~CMapWindow() {
    if (g_pMapWnd == this) g_pMapWnd = nullptr;
    delete m_pView;
}

bool CMapWindow::OnInitDialog() {
    InitBrowserEngine();
    m_wndCoord = new QLabel(this);
    m_wndCoord->setObjectName(QString::number(IDC_MAP_COORD));
    m_wndCoord->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_wndCoord->setGeometry(QRect());
    m_wndCoord->setFont(CoordLabelFont());
    // The window around the map is near-black: the position is written light so it can be read.
    QPalette palette = m_wndCoord->palette();
    palette.setColor(QPalette::WindowText, QColor(200, 200, 200));
    m_wndCoord->setPalette(palette);
    m_wndCoord->setAccessibleName(QStringLiteral("GPS position"));
    m_wndCoord->show();
    return true;
}

bool CMapWindow::InitBrowserEngine() {
    auto* app = CWebEngineSetup::Instance();
    if (!app) app = new CWebEngineSetup(QCoreApplication::instance());
    app->Initialize(BuildEngineSettings(QCoreApplication::arguments(), GetAppSettings().m_nLangIndex));
    if (!m_pView) m_pView = new CMapWebView(this);
    return true;
}

void CMapWindow::SetMapRect(const QRect& rc) {
    setGeometry(rc);
    const int w = rc.width();
    const int h = rc.height();
    if (m_pView) {
        m_pView->SetPageRect(h > kCoordLabelHeight ? QRect(0, 0, w, h - kCoordLabelHeight)
                                                   : QRect(0, 0, w, h));
        PostPrivateMessage(this, MSG_MAP_NOTIFY, MAP_NOTIFY_REFRESH, 0);
    }
    if (m_wndCoord) m_wndCoord->setGeometry(0, h - kCoordLabelHeight, w, kCoordLabelHeight);
}

bool CMapWindow::LoadMapPage(int kind) {
    m_nMapType = kind;
    const QString url = MapPageUrl(kind);
    if (!m_bEngineReady || !m_pView) return true;
    // The chosen page replaces the one shown: the new browser is added first, so the list of
    // browsers never runs empty, then the older ones close.
    m_pView->NewPage(url);
    m_pView->CloseOlderPages();
    return true;
}

bool CMapWindow::MovePos(double latitude, int layout, double longitude) {
    if (latitude == 0 && longitude == 0) return false;
    if (layout == 0) {
        latitude = MinutesFormToDegrees(latitude);
        longitude = MinutesFormToDegrees(longitude);
    }
    if (m_pView) m_pView->ExecuteScript(MovPosScript(latitude, longitude));
    if (m_wndCoord) m_wndCoord->setText(CoordLabelText(latitude, longitude));
    return true;
}

void CMapWindow::RunScript(const QString& script) {
    if (!m_pView) return;
    const qsizetype nul = script.indexOf(QChar(u'\0'));
    m_pView->ExecuteScript(nul < 0 ? script : script.left(nul));
}

bool CMapWindow::event(QEvent* event) {
    if (IsPrivateMessage(event, MSG_MAP_NOTIFY)) {
        OnMapNotify(static_cast<PrivateMessage*>(event)->wParam());
        return true;
    }
    return QFrame::event(event);
}

void CMapWindow::OnMapNotify(uintptr_t wParam) {
    if (wParam == MAP_NOTIFY_READY) {
        m_bEngineReady = true;
        LoadMapPage(m_nMapType);
    } else if (wParam == MAP_NOTIFY_REFRESH) {
        m_timerMapRefresh.start(kMapRefreshDelayMs);
    }
}

void CMapWindow::OnTimer(int id) {
    if (id != TIMER_MAP_REFRESH) return;
    if (m_pView) m_pView->ReFresh();
    m_timerMapRefresh.stop();
}
