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
#include "speed_label_static.h"
#include "video_engine.h"
#include "video_slider.h"
#include "window_commands.h"
#include "video_static.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QGuiApplication>

#include <initializer_list>

namespace {

// Height of the G-sensor curve as created; the layout keeps it.
constexpr int kGsensorHeight = 80;

// The command buttons in the order they are made (and reached with Tab): the shown ones as they
// stand from left to right, then the hidden ones. Their pictures are their commands'
// (window_commands.h).
constexpr int kButtonOrder[] = {
    IDC_OPEN,      IDC_PRINT,          IDC_PREVIOUS,   IDC_PLAY,     IDC_NEXT,    IDC_VOLUME_BUTTON, IDC_SLOWER,
    IDC_FASTER,    IDC_SWITCH,         IDC_MEDIUM_SIZE, IDC_LARGE_SIZE, IDC_MINIMIZE, IDC_MAXIMIZE,   IDC_CLOSE,
    IDC_ABOUT,     IDC_SMALL_SIZE,     IDC_STOP,       IDC_SNAPSHOT, IDC_SAVE_AS, IDC_DELETE,        IDC_CONFIG,
    IDC_AUTO_NEXT, IDC_ROTATE,         IDC_KML,        IDC_MAP_SWITCH, IDC_GSENSOR_SWITCH, IDC_LOCK,
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
    // Their clicks are commands: the command set attaches them (command_set.h).
    for (int id : kButtonOrder)
        Make<CSkinButton>(this, id);
    // The frame of the map window's first rectangle; the map window takes its place.
    Make<QWidget>(this, IDC_MAP_PLACEHOLDER)->setGeometry(1003, 57, 244, 244);
}

void COrvexMainWindow::InitSliders() {
    auto* seek = Child<CVideoSlider>(IDC_SEEK_SLIDER);
    seek->SetMessageTarget(this);
    seek->setRange(0, 1000);
    seek->SetCurrentMs(0);
    seek->setValue(seek->OriginPosition());
    seek->SetDurationMs(0);
    // The curve's cursor stands at the thumb after a seek, before the position catches up.
    connect(seek, &CVideoSlider::thumbDrawn, Child<CGSensorCtrl>(IDC_GSENSOR), &CGSensorCtrl::SetSliderThumbX);
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
    m_pMapDlg->LoadMapPage(MapKind());
}

void COrvexMainWindow::InitMapWindow() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    m_pMapDlg->OnInitDialog();
}

void COrvexMainWindow::LoadSkins() {
    for (int id : kButtonOrder) {
        auto* button = Child<CSkinButton>(id);
        const ButtonLook skin = *FindWindowCommand(id)->button;
        if (skin.standard != 0) button->LoadImages(skin.standard, skin.alternate, skin.third);
        // The volume button toggles itself; it starts toggled, as the front video starts muted.
        // The other pictures with a second state follow their commands.
        if (id == IDC_VOLUME_BUTTON) {
            button->m_bToggle = 1;
            button->m_nImageState = 1;
        }
        if (skin.shownAtStart) {
            button->show();
        } else {
            button->hide();
            // The about button is only not shown; it is still usable once shown.
            if (id != IDC_ABOUT) button->setEnabled(false);
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
    RunCommand(id);
}
