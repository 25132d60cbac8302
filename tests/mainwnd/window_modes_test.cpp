// The layout and window-mode part on a bare window with the children it places: pane flags, the
// size report and the relayout after it, the grip drag, and full-screen video holding the players.
// Each in a child process on an offscreen 1920 x 1080 screen.
#include "shell_test_support.h"

#include "control_ids.h"
#include "window_modes.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QSignalSpy>
#include <QTest>

#include <vector>

namespace {

// Hands its size reports on, as the main window does.
class SizeReporter : public QWidget {
  public:
    SizeReporter() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {}
    CWindowModes* modes = nullptr;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (modes) modes->OnResized(event->size());
    }
};

// A window with the children the layout needs, named by their control ids.
struct BareWindow {
    SizeReporter window;
    int entries = 0;
    std::vector<bool> holds;
    CWindowModes* modes = nullptr;

    BareWindow() {
        for (int id : {IDC_FRONT_FRAME, IDC_REAR_FRAME, IDC_FRONT_PANE, IDC_REAR_PANE, IDC_GSENSOR, IDC_PLAY,
                       IDC_FILE_LIST, IDC_CLOSE}) {
            auto* child = new QWidget(&window);
            child->setObjectName(QString::number(id));
        }
        Child(IDC_GSENSOR)->resize(990, 80);
        CWindowModes::Host host;
        host.child = [this](int id) { return Child(id); };
        host.map = [] { return nullptr; };
        host.viewMode = [] { return 0; };
        host.entryCount = [this] { return entries; };
        host.pictureSize = [] { return QSize(1920, 1080); };
        host.tripBarShown = [] { return false; };
        host.holdPlayers = [this](bool hold) { holds.push_back(hold); };
        modes = new CWindowModes(window, std::move(host));
        window.modes = modes;
    }
    QWidget* Child(int id) { return window.findChild<QWidget*>(QString::number(id)); }
    void Start() {
        modes->SetChildrenReady();
        window.setGeometry(0, 0, 1250, 560);
        window.show();
        modes->LayOutAgain();
    }
};

class WindowModesTest : public testing::Test {
  protected:
    void Enter() {
        EnterChild(folder.path(), screen);
        ChildApplication();
    }
    ShellTestFolder folder;
    std::string screen = folder.OffscreenPlatform(1920, 1080);
};

} // namespace

TEST_F(WindowModesTest, PaneFlagsDecideWhatTheLayoutShows) {
    EXPECT_EXIT(
        {
            Enter();
            BareWindow bare;
            bare.Start();
            CHILD_CHECK(bare.modes->PaneHidden(IDC_FRONT_PANE) && bare.modes->PaneHidden(IDC_REAR_PANE));
            bare.modes->SetPaneShown(IDC_FRONT_PANE, false);
            bare.modes->SetPaneShown(IDC_REAR_PANE, false);
            bare.modes->LayOutAgain();
            CHILD_CHECK(bare.Child(IDC_FRONT_PANE)->isHidden() && bare.Child(IDC_REAR_PANE)->isHidden());
            // A pane whose engine plays shows, and stays shown through a layout.
            bare.modes->SetPaneHidden(IDC_FRONT_PANE, false);
            CHILD_CHECK(!bare.modes->PaneHidden(IDC_FRONT_PANE) && !bare.Child(IDC_FRONT_PANE)->isHidden());
            bare.modes->LayOutAgain();
            CHILD_CHECK(!bare.Child(IDC_FRONT_PANE)->isHidden() && bare.Child(IDC_REAR_PANE)->isHidden());
            // The flags alone change nothing on screen until a layout shows the rear pane.
            bare.modes->SetPaneHiddenFlags(false, false);
            CHILD_CHECK(bare.Child(IDC_REAR_PANE)->isHidden());
            bare.modes->LayOutAgain();
            CHILD_CHECK(!bare.Child(IDC_REAR_PANE)->isHidden());
            // The switches feed the layout: without the curve the frames grow by its height.
            const int withCurve = bare.Child(IDC_FRONT_FRAME)->height();
            bare.modes->SetCurveShown(false);
            bare.modes->LayOutAgain();
            CHILD_CHECK(bare.Child(IDC_FRONT_FRAME)->height() > withCurve);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(WindowModesTest, SizeReportsLayOutTellTheWindowAndLayOutAgainLater) {
    EXPECT_EXIT(
        {
            Enter();
            BareWindow bare;
            QSignalSpy resized(bare.modes, &CWindowModes::resized);
            // Before the children are ready a size only shapes the window.
            bare.window.resize(1300, 600);
            CHILD_CHECK(resized.isEmpty() && !bare.modes->RelayoutPending());
            bare.Start();
            resized.clear();
            bare.window.resize(1500, 700);
            CHILD_CHECK(resized.size() == 1 && bare.modes->RelayoutPending());
            CHILD_CHECK(bare.Child(IDC_CLOSE)->geometry().x() == 1500 - 32);
            CHILD_CHECK(bare.window.mask().contains(QPoint(1490, 350)) && !bare.window.mask().contains(QPoint(2, 2)));
            CHILD_CHECK(QTest::qWaitFor([&] { return !bare.modes->RelayoutPending(); }, 5000));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(WindowModesTest, GripDragHoldsTheMinimumAndPressesOnChildrenStartNone) {
    EXPECT_EXIT(
        {
            Enter();
            BareWindow bare;
            bare.Start();
            QMouseEvent press(QEvent::MouseButtonPress, QPoint(1245, 555), bare.window.mapToGlobal(QPoint(1245, 555)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            CHILD_CHECK(bare.modes->OnMousePress(&press));
            CHILD_CHECK(bare.modes->ActiveDrag() == DragKind::Grip);
            QMouseEvent small(QEvent::MouseMove, QPoint(10, 10), bare.window.mapToGlobal(QPoint(10, 10)),
                              Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            bare.modes->OnMouseMove(&small);
            CHILD_CHECK(bare.window.size() == QSize(1250, 560));
            QMouseEvent release(QEvent::MouseButtonRelease, QPoint(1400, 650),
                                bare.window.mapToGlobal(QPoint(1400, 650)), Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            CHILD_CHECK(bare.modes->OnMouseRelease(&release));
            CHILD_CHECK(bare.modes->ActiveDrag() == DragKind::None && bare.window.size() == QSize(1400, 650));
            // A release without a drag is not the part's.
            CHILD_CHECK(!bare.modes->OnMouseRelease(&release));
            // A press on a child that let it through starts no drag; a right button is not taken.
            const QPoint onClose = bare.Child(IDC_CLOSE)->geometry().center();
            QMouseEvent onChild(QEvent::MouseButtonPress, onClose, bare.window.mapToGlobal(onClose), Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier);
            CHILD_CHECK(bare.modes->OnMousePress(&onChild) && bare.modes->ActiveDrag() == DragKind::None);
            QMouseEvent right(QEvent::MouseButtonPress, QPoint(1395, 645), bare.window.mapToGlobal(QPoint(1395, 645)),
                              Qt::RightButton, Qt::RightButton, Qt::NoModifier);
            CHILD_CHECK(!bare.modes->OnMousePress(&right) && bare.modes->ActiveDrag() == DragKind::None);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(WindowModesTest, FullScreenVideoHoldsThePlayersAndComesBackToTheSavedPlace) {
    EXPECT_EXIT(
        {
            Enter();
            BareWindow bare;
            bare.Start();
            bare.window.setGeometry(100, 50, 1300, 600);
            // Nothing to show: only the pane is chosen, the players are not touched.
            bare.modes->ToggleFullVideo();
            CHILD_CHECK(!bare.modes->FullVideo() && bare.modes->FullVideoPane() == 1 && bare.holds.empty());

            bare.entries = 1;
            bare.modes->SetPaneHidden(IDC_FRONT_PANE, false);
            bare.modes->ToggleFullVideo();
            CHILD_CHECK(bare.modes->FullVideo() && !bare.modes->Maximized());
            CHILD_CHECK((bare.holds == std::vector<bool>{true, false}));
            CHILD_CHECK(bare.window.geometry() == QRect(0, 0, 1920, 1080));
            CHILD_CHECK(!bare.modes->FrameEdge(IDC_FRONT_FRAME) && bare.modes->FrameEdge(IDC_REAR_FRAME));
            CHILD_CHECK(bare.Child(IDC_FILE_LIST)->isHidden() && bare.Child(IDC_REAR_FRAME)->isHidden());
            CHILD_CHECK(bare.Child(IDC_FRONT_FRAME)->geometry() == QRect(0, 0, 1920, 1080));

            bare.modes->ToggleFullVideo();
            CHILD_CHECK(!bare.modes->FullVideo() && bare.holds.size() == 4);
            CHILD_CHECK(bare.window.geometry() == QRect(100, 50, 1300, 600));
            CHILD_CHECK(bare.modes->FrameEdge(IDC_FRONT_FRAME));
            CHILD_CHECK(!bare.Child(IDC_FILE_LIST)->isHidden() && !bare.Child(IDC_FRONT_PANE)->isHidden());
            CHILD_CHECK(bare.Child(IDC_REAR_PANE)->isHidden()); // its engine never played
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
