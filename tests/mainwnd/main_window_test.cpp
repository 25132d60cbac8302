// The main window's children, messages, input filtering and window modes, each in a child
// process on an offscreen 1920 x 1080 screen.
#include "shell_test_support.h"

#include "control_ids.h"
#include "fixture_writer.h"
#include "skin_button.h"
#include "gsensor_ctrl.h"
#include "map_window.h"
#include "language.h"
#include "string_tables.h"
#include "main_window.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "playback_session.h"
#include "playback_speeds.h"
#include "private_message.h"
#include "settings.h"
#include "speed_label_static.h"
#include "tool_tips.h"
#include "video_slider.h"
#include "video_static.h"
#include "window_modes.h"
#include "window_title.h"

#include <QAbstractSlider>
#include <QAccessible>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTest>
#include <QToolTip>

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// Shows the tool tip of the play button the way hovering does: a tool-tip request to the button.
bool ShowPlayButtonTip(const COrvexMainWindow& dlg) {
    QWidget* play = dlg.ControlById(IDC_PLAY);
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), play->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(play, &hover);
    return QToolTip::isVisible() && QToolTip::text().contains(play->toolTip().toHtmlEscaped());
}

// A tip fades out a few hundred milliseconds after it is told to hide, so both wait for that.
bool ToolTipClosed() {
    return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
}
bool ToolTipStays() {
    QTest::qWait(600);
    return QToolTip::isVisible();
}

// One real 1920 x 1080 front recording in the window's catalog, as its current entry.
void PutOneFullHdRecording(COrvexMainWindow& dlg) {
    fixtures::ClipSpec clip;
    clip.width = 1920;
    clip.height = 1080;
    clip.seconds = 2;
    const fs::path card = fixtures::ScratchDir("main_window_full_hd");
    fixtures::WriteRecording(card / "2024_06_01_120000_01.MP4", kLayoutVideMeta,
                             fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 2)), {},
                             fixtures::MakeClip(clip));
    CHILD_CHECK(dlg.Catalog().ScanSource(card, ""));
    CHILD_CHECK(dlg.Catalog().Entries().size() == 1);
    dlg.Catalog().SetCurrentEntry(0);
    const MediaInfo& info = dlg.Catalog().Entries()[0].m_MediaInfo;
    CHILD_CHECK(info.m_wWidth == 1920 && info.m_wHeight == 1080);
}

// Every test has its own settings file in the working folder, so that no settings of the user's
// configuration folder are read or written.
class MainWindowTest : public testing::Test {
  protected:
    void SetUp() override { folder.Write(folder.ini(), "[UI]\r\n"); }

    ShellTestFolder folder;
    std::string screen = folder.OffscreenPlatform(1920, 1080);
};

// Enters the child with an offscreen 1920 x 1080 screen and the given settings.
void StartChild(const ShellTestFolder& folder, const std::string& screen) {
    EnterChild(folder.path(), screen);
    ChildApplication();
}

void Click(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

bool Shown(const COrvexMainWindow& dlg, int id) {
    const QWidget* control = dlg.ControlById(id);
    return control && !control->isHidden();
}

const int kAllButtons[] = {IDC_OPEN,           IDC_PRINT,     IDC_PREVIOUS, IDC_PLAY,    IDC_NEXT,
                           IDC_VOLUME_BUTTON,  IDC_SLOWER,    IDC_FASTER,   IDC_SWITCH,  IDC_MEDIUM_SIZE,
                           IDC_LARGE_SIZE,     IDC_MINIMIZE,  IDC_MAXIMIZE, IDC_CLOSE,   IDC_ABOUT,
                           IDC_SMALL_SIZE,     IDC_STOP,      IDC_SNAPSHOT, IDC_SAVE_AS, IDC_DELETE,
                           IDC_CONFIG,         IDC_AUTO_NEXT, IDC_ROTATE,   IDC_KML,     IDC_MAP_SWITCH,
                           IDC_GSENSOR_SWITCH, IDC_LOCK};

std::set<int> ShownAtStart() {
    return {IDC_OPEN,          IDC_PRINT,    IDC_PREVIOUS, IDC_PLAY,   IDC_NEXT,
            IDC_VOLUME_BUTTON, IDC_SLOWER,   IDC_FASTER,   IDC_SWITCH, IDC_MEDIUM_SIZE,
            IDC_LARGE_SIZE,    IDC_MINIMIZE, IDC_MAXIMIZE, IDC_CLOSE};
}

const std::vector<QEvent::Type> kRelayedMouse = {QEvent::MouseMove, QEvent::MouseButtonPress,
                                                 QEvent::MouseButtonRelease};

} // namespace

TEST_F(MainWindowTest, ChildrenExistWithTheirClassesAndStartStates) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            CHILD_CHECK(dlg.Create());
            dlg.show();
            // Exactly these command buttons show at start.
            const std::set<int> expected = ShownAtStart();
            std::set<int> shown;
            for (int id : kAllButtons) {
                CHILD_CHECK(dlg.ControlById<CSkinButton>(id) != nullptr);
                if (Shown(dlg, id)) shown.insert(id);
                // Hidden ones are disabled for good, except the about button.
                if (!Shown(dlg, id) && id != IDC_ABOUT) CHILD_CHECK(!dlg.ControlById(id)->isEnabled());
            }
            CHILD_CHECK(shown == expected);
            int buttonCount = 0;
            for (QWidget* child : dlg.findChildren<CSkinButton*>())
                buttonCount += child->parentWidget() == &dlg;
            CHILD_CHECK(buttonCount == 27);

            CHILD_CHECK(dlg.ControlById<CVideoStatic>(IDC_FRONT_PANE) && !Shown(dlg, IDC_FRONT_PANE));
            CHILD_CHECK(dlg.ControlById<CVideoStatic>(IDC_REAR_PANE) && !Shown(dlg, IDC_REAR_PANE));
            CHILD_CHECK(dlg.ControlById<CVideoStaticBg>(IDC_FRONT_FRAME) && Shown(dlg, IDC_FRONT_FRAME));
            CHILD_CHECK(dlg.ControlById<CVideoStaticBg>(IDC_REAR_FRAME) && Shown(dlg, IDC_REAR_FRAME));
            auto* seek = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
            CHILD_CHECK(seek && seek->minimum() == 0 && seek->maximum() == 1000);
            auto* volume = dlg.ControlById<CVolumeSlider>(IDC_VOLUME_SLIDER);
            CHILD_CHECK(volume && volume->maximum() == 100 && volume->value() == 50);
            CHILD_CHECK(dlg.ControlById<CGSensorCtrl>(IDC_GSENSOR) && Shown(dlg, IDC_GSENSOR));
            CHILD_CHECK(dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST) && Shown(dlg, IDC_FILE_LIST));
            CHILD_CHECK(dlg.ControlById<COrvexGroupListCtrl>(IDC_GROUP_LIST) && !Shown(dlg, IDC_GROUP_LIST));
            for (int id = IDC_GAUGE_FIRST; id <= IDC_GAUGE_LAST; ++id)
                CHILD_CHECK(Shown(dlg, id));
            for (int id : {IDC_COMPASS, IDC_SPEED_LABEL, IDC_GPS_INDICATOR, IDC_BANNER})
                CHILD_CHECK(!Shown(dlg, id) && !dlg.ControlById(id)->isEnabled());
            for (int id :
                 {IDC_LOGO, IDC_TITLE, IDC_PB_SPEED_LABEL, IDC_GAUGE_BOX, IDC_LOOK_DOWN, IDC_TURN_SIGNAL})
                CHILD_CHECK(Shown(dlg, id));
            // The placeholder gave the map window its place and is gone.
            CHILD_CHECK(dlg.ControlById(IDC_MAP_PLACEHOLDER) == nullptr);
            CHILD_CHECK(dlg.MapDlg() && dlg.MapDlg()->isVisible());
            CHILD_CHECK(dlg.MapDlg()->geometry() == QRect(1005, 59, 240, 240));
            CHILD_CHECK(dlg.ControlById(IDC_LOGO)->geometry() == QRect(8, 4, 40, 40));
            CHILD_CHECK(dlg.ControlById(IDC_OPEN)->geometry() == QRect(58, 8, 48, 36));
            CHILD_CHECK(dlg.ControlById(IDC_PRINT)->geometry() == QRect(113, 8, 48, 36));
            // The volume button starts toggled: the front video starts muted.
            CHILD_CHECK(dlg.ControlById<CSkinButton>(IDC_VOLUME_BUTTON)->m_nImageState == 1);
            CHILD_CHECK(dlg.OpenCountdownRunning() && dlg.SliderFollowPending());
            CHILD_CHECK(dlg.windowTitle() == "Halvorn Veltrix");
            dlg.SetRecordingTitle("20240501_083000_F.MP4");
            CHILD_CHECK(dlg.windowTitle() == "20240501_083000_F.MP4 - Halvorn Veltrix");
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, EveryControlHasAnAccessibleNameInTheCurrentLanguage) {
    folder.Write(folder.ini(), "[UI]\nLANGID=FRA\n");
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            int named = 0;
            for (QWidget* child : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (COrvexMainWindow::ControlId(child) == 0 && child != dlg.MapDlg()) continue;
                if (child->accessibleName().isEmpty())
                    std::fprintf(stderr, "no name: %s\n", qPrintable(child->objectName()));
                CHILD_CHECK(!child->accessibleName().isEmpty());
                ++named;
            }
            CHILD_CHECK(named == 62); // 58 controls, the trip bar and summary, the Events list and the map window
            CHILD_CHECK(dlg.ControlById(IDC_EVENT_LIST)->accessibleName().toStdString() ==
                        LoadLangStringFor(1036, IDS_EVENTS));
            // Tool-tip texts for the controls that have one, in French.
            CHILD_CHECK(dlg.ControlById(IDC_PLAY)->accessibleName().toStdString() ==
                        LoadLangStringFor(1036, 141));
            CHILD_CHECK(dlg.ControlById(IDC_KML)->accessibleName().toStdString() ==
                        LoadLangStringFor(1036, 228));
            CHILD_CHECK(dlg.ControlById(IDC_PREVIOUS)->accessibleName() ==
                        QString::fromUtf8("Fichier précédent"));
            CHILD_CHECK(dlg.MapDlg()->accessibleName() == "Carte");
            // Assistive technology reads them: the buttons stay push buttons.
            for (int id : {IDC_PLAY, IDC_OPEN, IDC_CLOSE}) {
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(dlg.ControlById(id));
                CHILD_CHECK(face && face->role() == QAccessible::Button);
                CHILD_CHECK(face->text(QAccessible::Name) == dlg.ControlById(id)->accessibleName());
            }
            // A language change renames them.
            GetAppSettings().SetLanguage(0);
            SendPrivateMessage(&dlg, MSG_LANGUAGE_CHANGED, 0);
            CHILD_CHECK(dlg.ControlById(IDC_PLAY)->accessibleName() == "Play/Pause video");
            CHILD_CHECK(dlg.ControlById(IDC_SEEK_SLIDER)->accessibleName() == "Position");
            // The lists' column titles follow too.
            auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
            CHILD_CHECK(files->ColumnTitle(1).toStdString() == LoadLangStringFor(1033, 124));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, HiddenCurveGivesItsHeightToTheVideo) {
    folder.Write(folder.ini(), "[UI]\nGSNR_ENABLE=0\n");
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            CHILD_CHECK(!Shown(dlg, IDC_GSENSOR));
            // 1250 x 560 without the curve: video 261 high, the seek slider right below it.
            CHILD_CHECK(dlg.ControlById(IDC_FRONT_FRAME)->geometry() == QRect(5, 59, 492, 261));
            CHILD_CHECK(dlg.ControlById(IDC_SEEK_SLIDER)->geometry().top() == 59 + 261);
            CHILD_CHECK(dlg.ControlById(IDC_LOOK_DOWN)->geometry().top() == 59 + 261 + 25);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, EscapeLeavesOnlyFullScreenVideoAndInputClosesAShownToolTip) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            dlg.show();
            // The map window settles in its place first; a change of the active window or the
            // focus would close a tool tip by itself.
            QTest::qWait(1000);
            QApplication::setActiveWindow(&dlg);
            CHILD_CHECK(QTest::qWaitForWindowActive(&dlg));
            QWidget* list = dlg.ControlById(IDC_FILE_LIST);
            int keysSeen = 0;
            struct Recorder : QObject {
                int* seen;
                bool eventFilter(QObject*, QEvent* event) override {
                    *seen += event->type() == QEvent::KeyPress;
                    return false;
                }
            } recorder;
            recorder.seen = &keysSeen;
            list->installEventFilter(&recorder);
            for (QWidget* target : {static_cast<QWidget*>(&dlg), list}) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                CHILD_CHECK(QCoreApplication::sendEvent(target, &escape));
            }
            CHILD_CHECK(keysSeen == 0);
            CHILD_CHECK(dlg.isVisible() && !dlg.Modes()->FullVideo());

            // Escape is not handed on to the tool tips either: a shown tip stays. Any other key
            // reaches the list, and closes the tip.
            CHILD_CHECK(ShowPlayButtonTip(dlg));
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(list, &escape);
            CHILD_CHECK(ToolTipStays());
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(list, &down);
            CHILD_CHECK(keysSeen == 1);
            CHILD_CHECK(ToolTipClosed());

            // Moving the mouse over the window leaves a shown tip; a press closes it, here one the
            // title ignores, which then reaches the window.
            CHILD_CHECK(ShowPlayButtonTip(dlg));
            QWidget* title = dlg.ControlById(IDC_TITLE);
            Click(title, QEvent::MouseMove, QPoint(3, 3), Qt::NoButton);
            CHILD_CHECK(ToolTipStays());
            Click(title, QEvent::MouseButtonPress, QPoint(6, 3));
            CHILD_CHECK(ToolTipClosed());
            Click(title, QEvent::MouseButtonRelease, QPoint(6, 3), Qt::NoButton);

            // Inside full-screen video, Escape leaves it, and still reaches no control.
            PutOneFullHdRecording(dlg);
            dlg.Modes()->SetPaneHidden(IDC_FRONT_PANE, false);
            dlg.Modes()->ToggleFullVideo();
            CHILD_CHECK(dlg.Modes()->FullVideo());
            QKeyEvent leave(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            CHILD_CHECK(QCoreApplication::sendEvent(list, &leave));
            CHILD_CHECK(!dlg.Modes()->FullVideo() && dlg.isVisible());
            CHILD_CHECK(keysSeen == 1);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, PrivateMessagesReachTheirHandlersSentOrPosted) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            // The volume slider tells its moves by message; the session takes the slider's value.
            auto* volume = dlg.ControlById<QAbstractSlider>(IDC_VOLUME_SLIDER);
            const auto moveVolumeSilently = [volume](int value) {
                const QSignalBlocker quiet(volume);
                volume->setValue(value);
            };
            moveVolumeSilently(37);
            CHILD_CHECK(SendPrivateMessage(&dlg, MSG_VOLUME_CHANGED, 0));
            // Sent: handled inside the call.
            CHILD_CHECK(dlg.Session()->VolumePercent() == 37);
            moveVolumeSilently(64);
            PostPrivateMessage(&dlg, MSG_VOLUME_CHANGED, 0);
            CHILD_CHECK(dlg.Session()->VolumePercent() == 37);
            QCoreApplication::sendPostedEvents(&dlg);
            CHILD_CHECK(dlg.Session()->VolumePercent() == 64);

            // 0x0C03 does nothing but is handled; the players' messages are the session's, so one
            // that reaches the window is handled and changes nothing.
            const QString title = dlg.windowTitle();
            CHILD_CHECK(SendPrivateMessage(&dlg, MSG_NOTHING_0C03, 0));
            CHILD_CHECK(SendPrivateMessage(&dlg, MSG_REAR_END, 1));
            CHILD_CHECK(SendPrivateMessage(&dlg, MSG_PLAYER_END, 0));
            CHILD_CHECK(dlg.Session()->VolumePercent() == 64);
            CHILD_CHECK(dlg.windowTitle() == title);
            // Full-screen video with an empty catalog only notes the pane.
            CHILD_CHECK(SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0));
            CHILD_CHECK(!dlg.Modes()->FullVideo() && dlg.Modes()->FullVideoPane() == 1);
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1250, 560));

            // A posted file choice carries its line: that recording opens a moment later. Choices
            // come no closer than the debounce time after the window's start.
            PutOneFullHdRecording(dlg);
            dlg.Catalog().SetCurrentEntry(-1);
            QTest::qWait(CFileChoiceGate::kDebounceMs + 100);
            PostPrivateMessage(&dlg, MSG_FILE_CHOSEN, 0);
            CHILD_CHECK(dlg.CurrentEntryIndex() == -1);
            QCoreApplication::sendPostedEvents(&dlg);
            CHILD_CHECK(QTest::qWaitFor([&dlg] { return dlg.CurrentEntryIndex() == 0; }, 5000));
            CHILD_CHECK(dlg.windowTitle().startsWith(QStringLiteral("2024_06_01_120000_01.MP4")));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, FullScreenVideoHidesTheControlsAndComesBack) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            PutOneFullHdRecording(dlg);
            dlg.show();
            dlg.Modes()->SetPaneHidden(IDC_FRONT_PANE, false); // the front engine plays
            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            CHILD_CHECK(dlg.Modes()->FullVideo() && dlg.Modes()->FullVideoPane() == 1);
            CHILD_CHECK(!dlg.Modes()->FrameEdge(IDC_FRONT_FRAME) && dlg.Modes()->FrameEdge(IDC_REAR_FRAME));
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1920, 1080));
            CHILD_CHECK(dlg.mask() == QRegion(0, 0, 1920, 1080));
            for (int id :
                 {IDC_OPEN, IDC_PLAY, IDC_FILE_LIST, IDC_SEEK_SLIDER, IDC_GSENSOR, IDC_CLOSE, IDC_REAR_FRAME})
                CHILD_CHECK(!Shown(dlg, id));
            CHILD_CHECK(dlg.ControlById(IDC_FRONT_FRAME)->geometry() == QRect(0, 0, 1920, 1080));
            CHILD_CHECK(dlg.ControlById(IDC_FRONT_PANE)->geometry() == QRect(0, 0, 1920, 1080));

            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            CHILD_CHECK(!dlg.Modes()->FullVideo() && dlg.Modes()->FrameEdge(IDC_FRONT_FRAME));
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1250, 560));
            CHILD_CHECK(dlg.ControlById(IDC_FRONT_FRAME)->geometry() == QRect(5, 59, 492, 181));
            for (int id :
                 {IDC_OPEN, IDC_PLAY, IDC_FILE_LIST, IDC_GSENSOR, IDC_CLOSE, IDC_REAR_FRAME, IDC_FRONT_PANE})
                CHILD_CHECK(Shown(dlg, id));
            // Leaving also shows the save-as (still disabled) and about buttons.
            CHILD_CHECK(Shown(dlg, IDC_SAVE_AS) && !dlg.ControlById(IDC_SAVE_AS)->isEnabled());
            CHILD_CHECK(Shown(dlg, IDC_ABOUT));
            CHILD_CHECK(!Shown(dlg, IDC_REAR_PANE)); // its engine never played

            // A window as wide as the monitor goes one pixel less high.
            dlg.setGeometry(0, 0, 1920, 700);
            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1920, 1079));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, MaximisePresetsAndMinimise) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            dlg.show();
            dlg.setGeometry(100, 50, 1300, 700);
            // Double click on the background maximises, again restores the same place and size.
            Click(&dlg, QEvent::MouseButtonDblClick, QPoint(400, 30));
            CHILD_CHECK(dlg.Modes()->Maximized() && dlg.geometry() == QRect(0, 0, 1920, 1080));
            Click(&dlg, QEvent::MouseButtonDblClick, QPoint(400, 30));
            CHILD_CHECK(!dlg.Modes()->Maximized() && dlg.geometry() == QRect(100, 50, 1300, 700));
            // Inside the speed label's rectangle, hidden as it is, no maximise.
            Click(&dlg, QEvent::MouseButtonDblClick, QPoint(250, 20));
            CHILD_CHECK(!dlg.Modes()->Maximized());
            CHILD_CHECK(dlg.ControlById<CSpeedLabelStatic>(IDC_SPEED_LABEL)->m_bKmh ==
                        0); // it switched to MPH

            dlg.OnCommand(IDC_MAXIMIZE);
            dlg.OnCommand(IDC_SMALL_SIZE);
            CHILD_CHECK(!dlg.Modes()->Maximized() && dlg.geometry() == QRect(560, 260, 800, 560));
            dlg.OnCommand(IDC_MEDIUM_SIZE);
            CHILD_CHECK(dlg.geometry() == QRect(240, 135, 1536, 864));
            // The layout follows every new size.
            CHILD_CHECK(dlg.ControlById(IDC_CLOSE)->geometry() == QRect(1536 - 32, 2, 25, 25));
            dlg.OnCommand(IDC_LARGE_SIZE);
            CHILD_CHECK(dlg.geometry() == QRect(0, 0, 1920, 1080));
            CHILD_CHECK(dlg.ControlById(IDC_FILE_LIST)->geometry().right() == 1920 - 6);

            // Restoring from minimise shows the panes of the view mode that play.
            dlg.Session()->SwitchView();
            CHILD_CHECK(dlg.Session()->ViewMode() == 1);
            dlg.Modes()->SetPaneHidden(IDC_FRONT_PANE, false);
            dlg.Modes()->SetPaneHidden(IDC_REAR_PANE, false);
            dlg.OnCommand(IDC_MINIMIZE);
            CHILD_CHECK(dlg.Modes()->Minimized());
            dlg.setWindowState(Qt::WindowNoState);
            CHILD_CHECK(!dlg.Modes()->Minimized());
            CHILD_CHECK(Shown(dlg, IDC_FRONT_PANE) && !Shown(dlg, IDC_REAR_PANE));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, GripAndSplittersResizeAndLayOut) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            dlg.show();
            CHILD_CHECK(dlg.mask().contains(QPoint(600, 300)) && !dlg.mask().contains(QPoint(5, 5)));
            // Grip: never below 1250 x 560.
            Click(&dlg, QEvent::MouseButtonPress, QPoint(1245, 555));
            CHILD_CHECK(dlg.Modes()->ActiveDrag() == DragKind::Grip);
            Click(&dlg, QEvent::MouseMove, QPoint(100, 100));
            CHILD_CHECK(dlg.size() == QSize(1250, 560));
            Click(&dlg, QEvent::MouseMove, QPoint(1400, 700));
            CHILD_CHECK(dlg.size() == QSize(1400, 700) && dlg.pos() == QPoint(0, 0));
            Click(&dlg, QEvent::MouseButtonRelease, QPoint(1500, 720), Qt::NoButton);
            CHILD_CHECK(dlg.Modes()->ActiveDrag() == DragKind::None && dlg.size() == QSize(1500, 720));
            CHILD_CHECK(dlg.ControlById(IDC_CLOSE)->geometry().x() == 1500 - 32);
            CHILD_CHECK(dlg.mask().contains(QPoint(1490, 360)));
            // A size change lays out again a little later and lets the slider follow the engines.
            CHILD_CHECK(dlg.Modes()->RelayoutPending() && dlg.SliderFollowPending());
            CHILD_CHECK(QTest::qWaitFor([&] { return !dlg.Modes()->RelayoutPending(); }, 5000));
            CHILD_CHECK(!dlg.SliderFollowPending()); // once
            // Column splitter dragged to the far right: a column of 20.
            const int splitX = dlg.Modes()->Splitters().columnSplit.left() + 2;
            Click(&dlg, QEvent::MouseButtonPress, QPoint(splitX, 300));
            CHILD_CHECK(dlg.Modes()->ActiveDrag() == DragKind::ColumnSplit);
            Click(&dlg, QEvent::MouseMove, QPoint(1499, 300));
            CHILD_CHECK(dlg.cursor().shape() == Qt::SizeHorCursor);
            Click(&dlg, QEvent::MouseButtonRelease, QPoint(1499, 300), Qt::NoButton);
            CHILD_CHECK(dlg.ControlById(IDC_FILE_LIST)->width() == 20);
            // Hovering shows the splitter's cursor.
            Click(&dlg, QEvent::MouseMove,
                  dlg.Modes()->Splitters().lowerSplit.topLeft() + QPoint(50, 1), Qt::NoButton);
            CHILD_CHECK(dlg.cursor().shape() == Qt::SizeVerCursor);
            // A press that the file list lets through (inside the map splitter's area) is no drag,
            // and the pointer over it keeps the arrow.
            const QRect list = dlg.ControlById(IDC_FILE_LIST)->geometry();
            Click(&dlg, QEvent::MouseMove, list.center(), Qt::NoButton);
            CHILD_CHECK(dlg.cursor().shape() == Qt::ArrowCursor);
            Click(&dlg, QEvent::MouseButtonPress, list.center());
            CHILD_CHECK(dlg.Modes()->ActiveDrag() == DragKind::None);
            Click(&dlg, QEvent::MouseButtonRelease, list.center(), Qt::NoButton);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(MainWindowTest, CloseButtonSavesThePositionAndEndsTheProcess) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            dlg.show();
            dlg.setGeometry(40, 30, 1300, 600);
            dlg.ControlById<CSkinButton>(IDC_CLOSE)->click();
            std::_Exit(4); // the click returned: the process was not ended
        },
        testing::ExitedWithCode(0), "");
    const std::string after = ShellTestFolder::Read(folder.ini());
    EXPECT_NE(after.find("LEFT=40\r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("RIGHT=1340\r\n"), std::string::npos) << after;
}

TEST_F(MainWindowTest, InitialisationLeavesEachStepsResultInPlace) {
    folder.Write(folder.ini(), "[WINPOS]\r\nLEFT=100\r\nTOP=80\r\nRIGHT=1400\r\nBOTTOM=700\r\n");
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            dlg.Create();
            // The map window exists, the window stands where it was left, and the layout ran for
            // that size.
            CHILD_CHECK(dlg.MapDlg());
            CHILD_CHECK(dlg.geometry() == QRect(100, 80, 1300, 620));
            CHILD_CHECK(dlg.ControlById(IDC_CLOSE)->geometry() == QRect(1300 - 32, 2, 25, 25));
            // Tool tips: the command buttons by their labels, the speed label by its name.
            CHILD_CHECK(dlg.ControlById(IDC_PLAY)->toolTip().toStdString() == LoadLangString(141));
            CHILD_CHECK(dlg.ControlById(IDC_KML)->toolTip().toStdString() == LoadLangString(228));
            CHILD_CHECK(dlg.ControlById(IDC_SPEED_LABEL)->toolTip().toStdString() ==
                        LoadLangString(247));
            CHILD_CHECK(ShowPlayButtonTip(dlg));
            // The lists: titled columns, whole lines selected, no line numbers, no lines.
            auto* groups = dlg.ControlById<COrvexGroupListCtrl>(IDC_GROUP_LIST);
            auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
            CHILD_CHECK(groups->ColumnCount() == 5 && files->ColumnCount() == 6);
            CHILD_CHECK(groups->ColumnTitle(0).toStdString() == LoadLangString(118));
            CHILD_CHECK(files->ColumnTitle(1).toStdString() == LoadLangString(124));
            for (COrvexListCtrl* list : std::initializer_list<COrvexListCtrl*>{groups, files}) {
                CHILD_CHECK(list->selectionBehavior() == QAbstractItemView::SelectRows);
                CHILD_CHECK(list->verticalHeader()->isHidden());
                CHILD_CHECK(list->LineCount() == 0 && list->CurrentLine() == -1);
            }
            // Playback reset: no recording, its name out of the title, the slider at its origin,
            // no speed label at normal speed.
            CHILD_CHECK(dlg.Catalog().Entries().empty() && dlg.Catalog().CurrentEntry() == -1);
            CHILD_CHECK(dlg.windowTitle() == QString::fromUtf8(kProductName));
            auto* slider = dlg.ControlById<CVideoSlider>(IDC_SEEK_SLIDER);
            CHILD_CHECK(slider->value() == slider->OriginPosition());
            auto* speed = dlg.ControlById<CPbSpeedLabelStatic>(IDC_PB_SPEED_LABEL);
            CHILD_CHECK(speed->m_bShow == 0 && speed->m_strText == SpeedLabel(kNormalSpeedIndex));
            // Last, the panes are hidden and the timers run.
            CHILD_CHECK(!Shown(dlg, IDC_FRONT_PANE) && !Shown(dlg, IDC_REAR_PANE));
            CHILD_CHECK(dlg.OpenCountdownRunning() && dlg.SliderFollowPending());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
