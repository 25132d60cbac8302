// A player stuck on a card that stopped answering is said in words: one box that leaves the window
// usable (not modal), however many players got stuck at once, and a new one once it was closed.
#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

#include "main_window.h"
#include "playback_session.h"

namespace {

QList<QMessageBox*> ShownBoxes(const COrvexMainWindow& window) {
    QList<QMessageBox*> shown;
    for (QMessageBox* box : window.findChildren<QMessageBox*>())
        if (box->isVisible()) shown << box;
    return shown;
}

} // namespace

TEST(CardNotAnswering, AStuckPlayerIsSaidOnceInABoxThatLeavesTheWindowUsable) {
    ShellTestFolder folder;
    folder.Write(folder.ini(), "[UI]\r\nLANGID=ENG\r\n");
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), folder.OffscreenPlatform(1920, 1080));
            ChildApplication();
            COrvexMainWindow window;
            CHILD_CHECK(window.Create());
            window.show();
            CHILD_CHECK(ShownBoxes(window).isEmpty());
            emit window.Session()->engineStuck(PlaybackSession::Side::kFront);
            emit window.Session()->engineStuck(PlaybackSession::Side::kRear);
            const QList<QMessageBox*> boxes = ShownBoxes(window);
            CHILD_CHECK(boxes.size() == 1);
            CHILD_CHECK(boxes[0]->text() ==
                        "The card does not answer: the recording that was playing from it was cut off.");
            CHILD_CHECK(boxes[0]->accessibleName() == boxes[0]->text());
            CHILD_CHECK(!boxes[0]->isModal() && !QApplication::activeModalWidget());
            // Closed, it goes; the next stuck player is said again.
            boxes[0]->button(QMessageBox::Ok)->click();
            CHILD_CHECK(QTest::qWaitFor([&] { return ShownBoxes(window).isEmpty(); }, 2000));
            emit window.Session()->engineStuck(PlaybackSession::Side::kFront);
            CHILD_CHECK(ShownBoxes(window).size() == 1);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
