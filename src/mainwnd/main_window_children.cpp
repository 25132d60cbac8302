// The main window's children: creation under their control ids, skins, start states, the map
// window, the sliders' start values, accessible names and the button commands.
#include "main_window.h"

#include "accessible_names.h"
#include "control_ids.h"
#include "event_presenter.h"
#include "skin_button.h"
#include "gsensor_ctrl.h"
#include "map_window.h"
#include "language.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "png_compass_static.h"
#include "playback_session.h"
#include "png_static.h"
#include "property_controls.h"
#include "seek_scale.h"
#include "speed_label_static.h"
#include "video_engine.h"
#include "video_slider.h"
#include "video_static.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QGuiApplication>

#include <initializer_list>

namespace {

// Height of the G-sensor curve as created; the layout keeps it.
constexpr int kGsensorHeight = 80;

struct ButtonSkin {
    int id;
    int standard;
    int alternate;
    int third;
    bool shown;
};

// Command buttons, their pictures and whether they show at start. The about button is only
// left unshown; the others that do not show are hidden and disabled for good.
constexpr ButtonSkin kButtons[] = {
    {IDC_OPEN, 150, 0, 0, true},        {IDC_PRINT, 256, 0, 0, true},
    {IDC_PREVIOUS, 258, 0, 0, true},    {IDC_PLAY, 133, 137, 0, true},
    {IDC_NEXT, 257, 0, 0, true},        {IDC_VOLUME_BUTTON, 184, 183, 0, true},
    {IDC_SLOWER, 146, 0, 0, true},      {IDC_FASTER, 144, 0, 0, true},
    {IDC_SWITCH, 262, 261, 263, true},  {IDC_MEDIUM_SIZE, 219, 0, 0, true},
    {IDC_LARGE_SIZE, 221, 0, 0, true},  {IDC_MINIMIZE, 181, 0, 0, true},
    {IDC_MAXIMIZE, 180, 0, 0, true},    {IDC_CLOSE, 179, 0, 0, true},
    {IDC_ABOUT, 182, 0, 0, false},      {IDC_SMALL_SIZE, 1047, 0, 0, false},
    {IDC_STOP, 139, 0, 0, false},       {IDC_SNAPSHOT, 152, 0, 0, false},
    {IDC_SAVE_AS, 154, 0, 0, false},    {IDC_DELETE, 156, 0, 0, false},
    {IDC_CONFIG, 0, 0, 0, false},       {IDC_AUTO_NEXT, 158, 207, 0, false},
    {IDC_ROTATE, 0, 0, 0, false},       {IDC_KML, 163, 0, 0, false},
    {IDC_MAP_SWITCH, 167, 0, 0, false}, {IDC_GSENSOR_SWITCH, 172, 0, 0, false},
    {IDC_LOCK, 251, 174, 0, false},
};

// Controls hidden and disabled at start besides the buttons above.
constexpr int kHiddenControls[] = {IDC_GROUP_LIST, IDC_COMPASS, IDC_SPEED_LABEL, IDC_GPS_INDICATOR};

template <class T> T* Make(QWidget* parent, int id) {
    auto* widget = new T(parent);
    COrvexMainWindow::SetControlId(widget, id);
    return widget;
}

} // namespace

void COrvexMainWindow::CreateChildren() {
    // Frames first, panes after them: a pane lies above its frame.
    for (int id : {IDC_FRONT_FRAME, IDC_REAR_FRAME}) {
        Make<CVideoStaticBg>(this, id)->SetMessageTarget(this);
    }
    for (int id : {IDC_FRONT_PANE, IDC_REAR_PANE}) {
        auto* pane = Make<CVideoStatic>(this, id);
        pane->SetMessageTarget(this);
        // libVLC draws into the pane's own X11 window.
        pane->setAttribute(Qt::WA_NativeWindow);
        pane->hide();
    }
    Make<CVideoSlider>(this, IDC_SEEK_SLIDER);
    Make<CVolumeSlider>(this, IDC_VOLUME_SLIDER);
    Make<CGSensorCtrl>(this, IDC_GSENSOR)->resize(990, kGsensorHeight);
    Make<COrvexFileListCtrl>(this, IDC_FILE_LIST);
    Make<COrvexGroupListCtrl>(this, IDC_GROUP_LIST);
    auto* box = Make<QGroupBox>(this, IDC_GAUGE_BOX);
    box->lower(); // the gauges and transport buttons lie on it
    for (int id = IDC_GAUGE_FIRST; id <= IDC_GAUGE_LAST; ++id) {
        if (id == IDC_GAUGE_STEERING)
            Make<CPropertySteeringAngle>(this, id);
        else
            Make<CPropertyText>(this, id);
    }
    Make<CPropertyTurnSignal>(this, IDC_TURN_SIGNAL);
    Make<CPropertyGsensorLookDown>(this, IDC_LOOK_DOWN);
    Make<CPngCompassStatic>(this, IDC_COMPASS);
    Make<CSpeedLabelStatic>(this, IDC_SPEED_LABEL);
    Make<CPbSpeedLabelStatic>(this, IDC_PB_SPEED_LABEL);
    for (int id : {IDC_GPS_INDICATOR, IDC_LOGO, IDC_TITLE, IDC_BANNER})
        Make<CPngStatic>(this, id);
    for (const ButtonSkin& skin : kButtons) {
        auto* button = Make<CSkinButton>(this, skin.id);
        const int id = skin.id;
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
    // The frame of the map window's first rectangle; the map window takes its place.
    Make<QWidget>(this, IDC_MAP_PLACEHOLDER)->setGeometry(1003, 57, 244, 244);
}

void COrvexMainWindow::InitSliders() {
    auto* seek = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    seek->SetMessageTarget(this);
    seek->setRange(0, 1000);
    seek->SetCurrentMs(0);
    seek->setValue(g_nSeekOrigin);
    seek->SetDurationMs(0);
    auto* volume = Child<CVolumeSlider>(IDC_VOLUME_SLIDER);
    volume->SetMessageTarget(this);
    volume->setRange(0, 100);
    volume->setValue(50);
    // The front video starts muted; the volume button's first picture says so.
    m_pSession->SetVolume(50);
    m_pSession->SetMuted(true);
}

void COrvexMainWindow::CreateMapWindow() {
    m_pMapDlg = new CMapWindow(this);
    QWidget* placeholder = ControlById(IDC_MAP_PLACEHOLDER);
    const QRect rect = placeholder->geometry();
    delete placeholder;
    InitMapWindow();
    m_pMapDlg->SetMapRect(rect.adjusted(2, 2, -2, -2));
    m_pMapDlg->raise();
    m_pMapDlg->show();
    m_pMapDlg->LoadMapPage(m_nMapKind);
}

void COrvexMainWindow::InitMapWindow() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    m_pMapDlg->OnInitDialog();
}

void COrvexMainWindow::LoadSkins() {
    for (const ButtonSkin& skin : kButtons) {
        auto* button = Child<CSkinButton>(skin.id);
        if (skin.standard != 0) button->LoadImages(skin.standard, skin.alternate, skin.third);
        // The volume button toggles itself; it starts toggled, as the front video starts muted.
        // The other pictures with a second state follow their commands.
        if (skin.id == IDC_VOLUME_BUTTON) {
            button->m_bToggle = 1;
            button->m_nImageState = 1;
        }
        if (skin.shown) {
            button->show();
        } else {
            button->hide();
            // The about button is only not shown; it is still usable once shown.
            if (skin.id != IDC_ABOUT) button->setEnabled(false);
        }
    }
    for (int id : kHiddenControls) {
        ControlById(id)->hide();
        ControlById(id)->setEnabled(false);
    }
    // The banner is disabled and never shown.
    ControlById(IDC_BANNER)->hide();
    ControlById(IDC_BANNER)->setEnabled(false);

    Child<CPngStatic>(IDC_GPS_INDICATOR)->LoadImage(178);
    Child<CPngStatic>(IDC_LOGO)->LoadImage(185);
    Child<CPngStatic>(IDC_TITLE)->LoadImage(265);
    ControlById(IDC_LOGO)->setGeometry(8, 4, 40, 40);
    ControlById(IDC_OPEN)->setGeometry(58, 8, 48, 36);
    ControlById(IDC_PRINT)->setGeometry(113, 8, 48, 36);

    auto* compass = Child<CPngCompassStatic>(IDC_COMPASS);
    for (int picture = 197; picture <= 204; ++picture)
        compass->AddImage(picture);
    // Gauge captions: the same texts as their names.
    for (int id = IDC_GAUGE_FIRST; id <= IDC_GAUGE_LAST + 1; ++id) {
        auto* gauge = Child<CPropertyText>(id > IDC_GAUGE_LAST ? IDC_TURN_SIGNAL : id);
        gauge->m_strCaption = QString::fromStdString(AccessibleNameOf(ControlId(gauge)));
        gauge->Refresh();
    }
    Child<CSpeedLabelStatic>(IDC_SPEED_LABEL)->UpdateTexts();
    Child<CPbSpeedLabelStatic>(IDC_PB_SPEED_LABEL)->SetLabel("", 1);
}

void COrvexMainWindow::ApplyAccessibleNames() {
    for (const AccessibleNameRow& row : AccessibleNameTable()) {
        QWidget* control =
            row.controlId == IDD_HTML_MAP ? static_cast<QWidget*>(m_pMapDlg) : ControlById(row.controlId);
        if (control) control->setAccessibleName(QString::fromStdString(AccessibleNameOf(row.controlId)));
    }
    if (m_pEvents) m_pEvents->Retranslate();
}

void COrvexMainWindow::InitLists() {
    for (int id : {IDC_GROUP_LIST, IDC_FILE_LIST}) {
        auto* list = Child<COrvexListCtrl>(id);
        list->SetMessageTarget(this);
        list->Setup();
    }
}

void COrvexMainWindow::OnCommand(int id) {
    switch (id) {
    case IDC_CLOSE:
        OnClose();
    case IDC_MAXIMIZE:
        OnMaximizeRestore();
        break;
    case IDC_MINIMIZE:
        OnMinimize();
        break;
    case IDC_SMALL_SIZE:
    case IDC_MEDIUM_SIZE:
    case IDC_LARGE_SIZE:
        OnPresetSize(id);
        break;
    default:
        OnLaterCommand(id);
        break;
    }
}
