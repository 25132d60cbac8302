// Picture statics and the video panes: colour and grey pictures, the "Loading..." caption, and
// the double click that asks for full-screen video.
#include "png_static.h"
#include "private_message.h"
#include "video_static.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <vector>

namespace {

QImage RenderedOn(QWidget& widget, QColor under) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(under);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Records the private messages it receives, in order.
class Receiver : public QObject {
  public:
    std::vector<std::pair<int, uintptr_t>> messages;
    bool event(QEvent* event) override {
        if (event->type() >= QEvent::User && event->type() <= QEvent::MaxUser) {
            const auto* message = static_cast<PrivateMessage*>(event);
            messages.emplace_back(message->message(), message->wParam());
            return true;
        }
        return QObject::event(event);
    }
};

void DoubleClick(QWidget& widget) {
    const QPointF at(20, 20);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::MouseButtons(Qt::NoButton)
                                                                         : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    }
}

} // namespace

TEST(PngStatic, ColourOrGreyPictureScaledToTheControl) {
    CPngStatic gps;
    gps.resize(32, 32);
    const QImage nothing = RenderedOn(gps, Qt::magenta);
    EXPECT_EQ(nothing.pixel(16, 16), QColor(Qt::magenta).rgba()); // no picture: nothing drawn

    ASSERT_TRUE(gps.LoadImage(178));
    gps.m_bColor = 0;
    const QImage grey = RenderedOn(gps, Qt::black);
    int coloured = 0, lit = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = grey.pixel(x, y);
            lit += qRed(c) > 20;
            coloured += std::abs(qRed(c) - qBlue(c)) > 1 || std::abs(qRed(c) - qGreen(c)) > 1;
        }
    EXPECT_GT(lit, 50);
    EXPECT_EQ(coloured, 0);

    gps.m_bColor = 1;
    const QImage colour = RenderedOn(gps, Qt::black);
    int blue = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            blue += qBlue(colour.pixel(x, y)) > qRed(colour.pixel(x, y)) + 60;
    EXPECT_GT(blue, 20); // the solar panels in the accent blue

    CPngStatic logo;
    logo.resize(40, 40); // the 64 x 64 logo shown at 40 x 40
    ASSERT_TRUE(logo.LoadImage(185));
    const QImage shown = RenderedOn(logo, Qt::magenta);
    EXPECT_NE(shown.pixel(20, 20), QColor(Qt::magenta).rgba());
    EXPECT_EQ(shown.pixel(0, 0), QColor(Qt::magenta).rgba()); // round: the corners stay the skin's
}

TEST(VideoStatic, NearBlackPaneWithTheBlueCaptionWhileBusy) {
    CVideoStatic pane;
    pane.resize(400, 200);
    EXPECT_TRUE(pane.testAttribute(Qt::WA_NativeWindow));
    const QImage idle = RenderedOn(pane, Qt::magenta);
    for (int y = 0; y < 200; y += 7)
        for (int x = 0; x < 400; x += 7)
            ASSERT_EQ(idle.pixel(x, y), qRgb(5, 5, 5));

    pane.SetCaption(QStringLiteral("Loading..."), true);
    EXPECT_EQ(pane.accessibleDescription(), QStringLiteral("Loading..."));
    const QImage busy = RenderedOn(pane, Qt::magenta);
    int blue = 0, outside = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) {
            const QRgb c = busy.pixel(x, y);
            const bool caption = qBlue(c) > 120 && qBlue(c) > qRed(c) + 60;
            if (caption && x >= 2 && x < 260 && y >= 2 && y < 60)
                ++blue;
            else if (c != qRgb(5, 5, 5))
                ++outside;
        }
    EXPECT_GT(blue, 300);     // the text sits at (10, 10), about 36 pixels high
    EXPECT_LT(outside, 1500); // glow and outline edges only

    pane.SetCaption(QString(), false);
    EXPECT_EQ(RenderedOn(pane, Qt::magenta).pixel(30, 30), qRgb(5, 5, 5));
}

TEST(VideoStatic, DoubleClickOnFrameOrPaneSendsFullVideoToTheReceiver) {
    Receiver receiver;
    CVideoStaticBg frame;
    frame.resize(100, 80);
    DoubleClick(frame); // no receiver yet: nothing happens
    frame.SetMessageTarget(&receiver);
    DoubleClick(frame);
    ASSERT_EQ(receiver.messages.size(), 1u); // sent at once, not queued
    EXPECT_EQ(receiver.messages[0], std::make_pair(int(MSG_TOGGLE_FULL_VIDEO), uintptr_t(0)));

    CVideoStatic pane;
    pane.resize(100, 80);
    pane.SetMessageTarget(&receiver);
    DoubleClick(pane);
    ASSERT_EQ(receiver.messages.size(), 2u);
    EXPECT_EQ(receiver.messages[1].first, MSG_TOGGLE_FULL_VIDEO);
}

TEST(VideoStatic, BackgroundFrameDrawsNothing) {
    CVideoStaticBg frame;
    frame.resize(50, 40);
    const QImage image = RenderedOn(frame, QColor(12, 200, 34));
    EXPECT_EQ(image.pixel(25, 20), qRgb(12, 200, 34));
    EXPECT_EQ(image.pixel(0, 0), qRgb(12, 200, 34));
}

// Between two players the pane paints the picture it holds (scaled to it), with the caption over it;
// released, it paints its background again; a pane that is not on the screen cannot read a picture.
TEST(VideoStatic, HeldPictureInPlaceOfTheBackgroundUntilReleased) {
    CVideoStatic pane;
    pane.resize(200, 100);
    EXPECT_FALSE(pane.HoldPicture()); // never shown: nothing on the screen to read
    EXPECT_FALSE(pane.HoldsPicture());

    QPixmap picture(100, 50); // half the pane's size: painted scaled up
    picture.fill(QColor(40, 160, 220));
    pane.HoldPicture(picture);
    EXPECT_TRUE(pane.HoldsPicture());
    const QImage held = RenderedOn(pane, Qt::magenta);
    for (QPoint at : {QPoint(1, 1), QPoint(100, 50), QPoint(198, 98)})
        EXPECT_EQ(held.pixel(at), qRgb(40, 160, 220)) << at.x() << "," << at.y();

    pane.SetCaption(QStringLiteral("Loading..."), true);
    const QImage captioned = RenderedOn(pane, Qt::magenta);
    EXPECT_EQ(captioned.pixel(190, 90), qRgb(40, 160, 220)); // the picture around the caption
    int changed = 0;
    for (int y = 10; y < 46; ++y)
        for (int x = 10; x < 150; ++x)
            changed += captioned.pixel(x, y) != qRgb(40, 160, 220) ? 1 : 0;
    EXPECT_GT(changed, 300);
    pane.SetCaption(QString(), false);

    pane.ReleaseHeldPicture(false);
    EXPECT_FALSE(pane.HoldsPicture());
    EXPECT_EQ(RenderedOn(pane, Qt::magenta).pixel(100, 50), qRgb(5, 5, 5));
    pane.HoldPicture(picture);
    pane.HoldPicture(QPixmap()); // a null picture releases as well
    EXPECT_FALSE(pane.HoldsPicture());
}
