// The seek and volume sliders: the seek scale, time texts, drawing, and the messages that user
// moves (and only user moves) send.
#include "video_slider.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <vector>

#include "private_message.h"
#include "seek_scale.h"
#include "widget_test_support.h"

using namespace widget_test;

namespace {

// Stands in for the main window: records each private message with the slider's value as the
// handler would read it.
class MessageLog : public QObject {
  public:
    explicit MessageLog(const QSlider* slider) : m_slider(slider) {}
    std::vector<int> messages;
    std::vector<int> values;
    bool event(QEvent* e) override {
        if (int(e->type()) >= MSG_PLAYER_ERROR && int(e->type()) <= MSG_REAR_END) {
            messages.push_back(e->type());
            values.push_back(m_slider->value());
            return true;
        }
        return QObject::event(e);
    }

  private:
    const QSlider* m_slider;
};

class SeekSliderTest : public testing::Test {
  protected:
    void SetUp() override {
        slider.resize(400, 24);
        slider.SetMessageTarget(&log);
        Render(slider); // lays the scale out: origin 125, span 750
        // The first-drawing notice has its own test.
        QCoreApplication::sendPostedEvents(&log);
        log.messages.clear();
        log.values.clear();
    }
    // x of a slider position on the channel.
    int XOf(int position) const {
        const QRect channel = slider.ChannelRect();
        return channel.left() + (position * channel.width() + 999) / 1000;
    }
    CVideoSlider slider;
    MessageLog log{&slider};
};

} // namespace

TEST(SeekScaleTest, ScaleFollowsWidthAndKeepsPreviousWhenNarrow) {
    const SeekScale s = SeekScaleForWidth(1000, 400, {});
    EXPECT_EQ(s.origin, 125);
    EXPECT_EQ(s.span, 750);
    for (int width : {100, 50, 0, -3}) {
        const SeekScale kept = SeekScaleForWidth(1000, width, s);
        EXPECT_EQ(kept.origin, 125) << width;
        EXPECT_EQ(kept.span, 750) << width;
    }
    EXPECT_GT(SeekScaleForWidth(1000, 101, s).span, 0);
    // A range so large that the scale would turn negative also keeps the previous one.
    EXPECT_EQ(SeekScaleForWidth(100000, 400, s).span, 750);
}

TEST(SeekScaleTest, PositionToTimeIs64BitAndClampedAtTheOrigin) {
    const SeekScale s{125, 750};
    EXPECT_EQ(SeekPositionToMs(125, s, 60000), 0u);
    EXPECT_EQ(SeekTimeText(SeekPositionToMs(500, s, 60000)), "00:30");
    EXPECT_EQ(SeekTimeText(SeekPositionToMs(875, s, 60000)), "01:00");
    EXPECT_EQ(SeekPositionToMs(1000, s, 60000), 70000u); // the right time box lies past the end
    EXPECT_EQ(SeekPositionToMs(100, s, 60000), 0u);      // left of the origin: no wrap
    EXPECT_EQ(SeekPositionToMs(500, s, 0), 0u);
    EXPECT_EQ(SeekPositionToMs(500, {125, 0}, 60000), 0u);
    // 100 minutes: 750 steps x 6,000,000 ms is past 2^32.
    EXPECT_EQ(SeekPositionToMs(875, s, 6000000), 6000000u);
    EXPECT_EQ(SeekTimeText(6000000), "100:00");
    EXPECT_EQ(SeekTimeText(61999), "01:01");
    EXPECT_EQ(FrontVolumeForSlider(37), 74);
    EXPECT_EQ(SliderThumbX(400, 500, 0, 1000), 205);
    EXPECT_EQ(SliderThumbX(400, 500, 7, 7), 10);
    EXPECT_EQ(SliderPositionAtX(200, 0, 400, 0, 1000), 500);
    EXPECT_EQ(SliderPositionAtX(-10, 0, 400, 0, 1000), -25);
    EXPECT_EQ(SliderPositionAtX(200, 0, 0, 0, 1000), 0);
}

TEST_F(SeekSliderTest, DrawingLaysOutScaleThumbXAndTimeTexts) {
    EXPECT_EQ(slider.Scale().origin, 125);
    EXPECT_EQ(slider.Scale().span, 750);
    EXPECT_EQ(slider.OriginPosition(), 125);
    std::vector<int> thumbs;
    QObject::connect(&slider, &CVideoSlider::thumbDrawn, [&](int x) { thumbs.push_back(x); });
    slider.setValue(500);
    slider.SetDurationMs(6000000);
    slider.SetCurrentMs(30000);
    const QImage image = Render(slider);
    ASSERT_FALSE(thumbs.empty());
    EXPECT_EQ(thumbs.back(), SliderThumbX(slider.ChannelRect().width(), 500, 0, 1000));
    EXPECT_EQ(slider.accessibleDescription(), "00:30 / 100:00");
    // Sunken edge in fixed greys, black inside.
    EXPECT_TRUE(Near(image.pixel(0, 10), QColor(160, 160, 160)));
    EXPECT_TRUE(Near(image.pixel(1, 10), QColor(105, 105, 105)));
    EXPECT_TRUE(Near(image.pixel(399, 10), QColor(255, 255, 255)));
    EXPECT_TRUE(Near(image.pixel(398, 10), QColor(227, 227, 227)));
    EXPECT_TRUE(Near(image.pixel(100, 3), QColor(0, 0, 0)));
    // White separators at 46-47 and 344-345 (inner right 398 - 54), full inner height.
    EXPECT_EQ(CountInRect(image, QRect(46, 2, 2, 20), Qt::white), 40);
    EXPECT_EQ(CountInRect(image, QRect(344, 2, 2, 20), Qt::white), 40);
    EXPECT_TRUE(Near(image.pixel(48, 12), QColor(0, 0, 0)));
    EXPECT_TRUE(Near(image.pixel(346, 12), QColor(0, 0, 0)));
    // Time texts: white glyph pixels in both boxes, the three-digit minutes filling more of the right.
    const int left = CountInRect(image, QRect(2, 2, 44, 20), Qt::white, 80);
    const int right = CountInRect(image, QRect(348, 2, 50, 20), Qt::white, 80);
    EXPECT_GT(left, 20);
    EXPECT_GT(right, left);
    // Thumb: the normal green inside the style's thumb rectangle.
    EXPECT_TRUE(Near(image.pixel(slider.ThumbRect().center()), QColor(100, 250, 100)));
}

TEST_F(SeekSliderTest, PressMovesWithoutMessageDragAndReleaseSeek) {
    slider.SetDurationMs(60000);
    Press(slider, QPoint(XOf(500), 12));
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(slider.value(), 500);
    EXPECT_EQ(SeekTimeText(slider.CurrentMs()), "00:30");
    EXPECT_TRUE(slider.IsDragging());
    EXPECT_TRUE(Near(Render(slider).pixel(slider.ThumbRect().center()), QColor(240, 0, 180)));

    Drag(slider, QPoint(XOf(875), 12));
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.messages[0], MSG_SEEK_REQUEST);
    EXPECT_EQ(log.values[0], 875);
    EXPECT_EQ(SeekTimeText(slider.CurrentMs()), "01:00");

    Release(slider, QPoint(XOf(875), 12));
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[1], MSG_SEEK_REQUEST);
    EXPECT_FALSE(slider.IsDragging());
}

TEST_F(SeekSliderTest, PressesLeftOfScaleOrWithoutRecordingGiveTimeZero) {
    slider.SetDurationMs(60000);
    Press(slider, QPoint(10, 12));
    EXPECT_EQ(slider.value(), 125);
    EXPECT_EQ(slider.CurrentMs(), 0u);
    Release(slider, QPoint(10, 12));
    Press(slider, QPoint(390, 12)); // right time box: past the end
    EXPECT_GT(slider.CurrentMs(), 60000u);
    Release(slider, QPoint(390, 12));

    slider.SetDurationMs(0);
    Press(slider, QPoint(XOf(700), 12));
    EXPECT_EQ(slider.CurrentMs(), 0u);
}

TEST_F(SeekSliderTest, KeysSeekThroughTheActionAndCodeMovesNever) {
    slider.SetDurationMs(60000);
    slider.setValue(500);
    slider.SetCurrentMs(0);
    EXPECT_TRUE(log.messages.empty());
    Key(slider, Qt::Key_PageUp);
    ASSERT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(log.values[0], 500 + slider.pageStep()); // the handler reads the new value
    EXPECT_EQ(slider.CurrentMs(), SeekPositionToMs(510, {125, 750}, 60000));
    // A key never goes left of time 0.
    Key(slider, Qt::Key_Home);
    EXPECT_EQ(slider.value(), 125);
    EXPECT_EQ(log.values.back(), 125);
}

TEST_F(SeekSliderTest, FirstDrawingPostsOneSeekRequestAndNarrowWidthKeepsScale) {
    CVideoSlider fresh;
    fresh.resize(400, 24);
    MessageLog freshLog{&fresh};
    fresh.SetMessageTarget(&freshLog);
    Render(fresh);
    EXPECT_TRUE(freshLog.messages.empty()); // posted, not sent from inside the painting
    QCoreApplication::sendPostedEvents(&freshLog);
    ASSERT_EQ(freshLog.messages.size(), 1u);
    EXPECT_EQ(freshLog.messages[0], MSG_SEEK_REQUEST);
    Render(fresh);
    QCoreApplication::sendPostedEvents(&freshLog);
    EXPECT_EQ(freshLog.messages.size(), 1u);
    // The other slider's notice went out at its own first drawing, not again.
    Render(slider);
    QCoreApplication::sendPostedEvents(&log);
    EXPECT_TRUE(log.messages.empty());

    slider.resize(80, 24);
    Render(slider);
    EXPECT_EQ(slider.Scale().origin, 125);
    EXPECT_EQ(slider.Scale().span, 750);
}

// Each slider keeps its own scale: a narrow one does not move a wide one's time 0.
TEST_F(SeekSliderTest, ScaleBelongsToEachSlider) {
    CVideoSlider other;
    other.resize(1000, 24);
    Render(other);
    EXPECT_EQ(other.Scale().origin, 50);
    EXPECT_EQ(other.Scale().span, 900);
    EXPECT_EQ(slider.Scale().origin, 125);
    other.SetDurationMs(60000);
    EXPECT_EQ(other.XOfMs(0), SliderThumbX(other.ChannelRect().width(), 50, 0, 1000));
    slider.SetDurationMs(60000);
    EXPECT_EQ(slider.XOfMs(0), SliderThumbX(slider.ChannelRect().width(), 125, 0, 1000));
}

TEST(VolumeSliderTest, UserMovesSendVolumeMessagesAndSkinShowsThrough) {
    QWidget skin;
    skin.resize(200, 40);
    skin.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(20, 90, 140));
    skin.setPalette(palette);
    CVolumeSlider volume(&skin);
    volume.setGeometry(10, 5, 120, 30);
    MessageLog log(&volume);
    volume.SetMessageTarget(&log);
    EXPECT_EQ(volume.value(), 50);
    EXPECT_EQ(volume.maximum(), 100);

    const QRect groove = volume.GrooveRect();
    const int x37 = groove.left() + (37 * groove.width() + 99) / 100;
    Press(volume, QPoint(x37, 15));
    EXPECT_EQ(volume.value(), 37);
    EXPECT_TRUE(log.messages.empty());
    Drag(volume, QPoint(x37, 15));
    Release(volume, QPoint(x37, 15));
    ASSERT_EQ(log.messages.size(), 2u);
    EXPECT_EQ(log.messages[1], MSG_VOLUME_CHANGED);
    EXPECT_EQ(FrontVolumeForSlider(log.values[1]), 74);

    volume.setValue(80);
    EXPECT_EQ(log.messages.size(), 2u);
    Key(volume, Qt::Key_Right);
    ASSERT_EQ(log.messages.size(), 3u);
    EXPECT_EQ(log.values[2], 81);

    const QImage image = Render(skin);
    const QRect g = groove.translated(volume.pos());
    EXPECT_TRUE(Near(image.pixel(g.left() + 3, g.top()), QColor(160, 160, 160)));
    EXPECT_TRUE(Near(image.pixel(g.left() + 3, g.bottom()), QColor(255, 255, 255)));
    EXPECT_TRUE(Near(image.pixel(volume.x() + 1, volume.y() + 1), QColor(20, 90, 140)));
    EXPECT_TRUE(Near(image.pixel(volume.ThumbRect().center() + volume.pos()), QColor(255, 0, 0)));
}
