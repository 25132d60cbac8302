// The skinned button: its prepared faces, toggle and third state, pointer handling and what
// assistive technology sees. Pictures are the real skin pictures.
#include "skin_button.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <memory>

namespace {

std::unique_ptr<CSkinButton> MakeButton(int standard, int alternate, int third, QSize size) {
    auto button = std::make_unique<CSkinButton>();
    EXPECT_TRUE(button->LoadImages(standard, alternate, third));
    button->resize(size);
    return button;
}

// What the button paints, alone, on a transparent surface.
QImage Rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

QImage Straight(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

int OpaqueCount(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at = QPoint(10, 10)) {
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                         ? Qt::MouseButtons(Qt::NoButton)
                                         : Qt::MouseButtons(Qt::LeftButton);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST(GdipButtonFaces, NormalPressedHoverAndDisabledFromOnePicture) {
    auto button = MakeButton(133, 137, 0, QSize(36, 36));
    CSkinPicture source;
    ASSERT_TRUE(source.Load(133));
    const QImage normal = Straight(button->PreparedFace(0, CSkinButton::kNormal));
    const QImage pressed = Straight(button->PreparedFace(0, CSkinButton::kPressed));
    const QImage hover = Straight(button->PreparedFace(0, CSkinButton::kHover));
    const QImage disabled = Straight(button->PreparedDisabledFace());
    ASSERT_EQ(normal.size(), QSize(36, 36));
    EXPECT_EQ(normal, Straight(source.Picture())); // same size: the picture itself

    int brighter = 0, opaque = 0;
    for (int y = 0; y < 36; ++y)
        for (int x = 0; x < 36; ++x) {
            const QRgb n = normal.pixel(x, y);
            // Pressed: one pixel right and down; the first row and column are empty.
            if (x == 0 || y == 0) {
                EXPECT_EQ(qAlpha(pressed.pixel(x, y)), 0);
            } else {
                EXPECT_EQ(pressed.pixel(x, y), normal.pixel(x - 1, y - 1)) << x << "," << y;
            }
            // Disabled: grey (equal channels), same coverage.
            const QRgb d = disabled.pixel(x, y);
            EXPECT_EQ(qAlpha(d), qAlpha(n));
            if (qAlpha(d) > 0) {
                EXPECT_TRUE(qRed(d) == qGreen(d) && qGreen(d) == qBlue(d)) << x << "," << y;
            }
            // Hover: 1.05 c + 0.05 on each colour channel, alpha kept.
            const QRgb h = hover.pixel(x, y);
            EXPECT_EQ(qAlpha(h), qAlpha(n));
            if (qAlpha(n) < 255) continue;
            ++opaque;
            const int expected = std::min(255, int(std::lround(qRed(n) * 1.05 + 12.75)));
            EXPECT_NEAR(qRed(h), expected, 1);
            brighter += qRed(h) > qRed(n) || qRed(n) == 255;
        }
    EXPECT_GT(opaque, 500);
    EXPECT_EQ(brighter, opaque);
}

TEST(GdipButtonFaces, PicturesAreScaledToTheButton) {
    auto button = MakeButton(150, 0, 0, QSize(24, 18)); // a 48 x 36 picture on a half-size button
    EXPECT_EQ(button->PreparedFace(0, CSkinButton::kNormal).size(), QSize(24, 18));
    button->resize(48, 36);
    EXPECT_EQ(button->CurrentFace().size(), QSize(48, 36));
}

TEST(GdipButtonFaces, NoStandardPictureDrawsNothingAndMissingStatesShowNothing) {
    CSkinButton bare;
    bare.resize(36, 36);
    EXPECT_TRUE(bare.CurrentFace().isNull());
    EXPECT_EQ(Rendered(bare), [] {
        QImage empty(36, 36, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::transparent);
        return empty;
    }());

    auto button = MakeButton(258, 0, 0, QSize(36, 36));
    button->m_nImageState = 2; // no third picture
    EXPECT_TRUE(button->CurrentFace().isNull());
    EXPECT_EQ(OpaqueCount(Rendered(*button)), 0);
    button->m_nImageState = 1; // no alternate picture either
    EXPECT_TRUE(button->CurrentFace().isNull());
}

TEST(GdipButtonStates, ToggleSwitchesPictureOnClickNotOnPaint) {
    auto button = MakeButton(184, 183, 0, QSize(12, 24));
    button->m_bToggle = 1;
    const QImage standard = button->PreparedFace(0, CSkinButton::kNormal);
    const QImage alternate = button->PreparedFace(1, CSkinButton::kNormal);
    ASSERT_NE(standard, alternate);

    int stateSeenByCommand = -1;
    QObject::connect(button.get(), &QAbstractButton::clicked,
                     [&] { stateSeenByCommand = button->m_nImageState; });
    EXPECT_EQ(Rendered(*button), standard);
    Rendered(*button); // painting again and again changes nothing
    EXPECT_EQ(button->m_nImageState, 0);

    button->click();
    EXPECT_EQ(stateSeenByCommand, 1); // the state is switched before the command runs
    EXPECT_EQ(Rendered(*button), alternate);
    EXPECT_EQ(Rendered(*button), alternate);

    button->click();
    EXPECT_EQ(button->m_nImageState, 0);
    EXPECT_EQ(Rendered(*button), standard);
}

TEST(GdipButtonStates, ThirdStateAndNonToggleButtonsKeepTheirState) {
    auto button = MakeButton(262, 261, 263, QSize(44, 36));
    const QImage both = button->PreparedFace(0, CSkinButton::kNormal);
    const QImage front = button->PreparedFace(1, CSkinButton::kNormal);
    const QImage rear = button->PreparedFace(2, CSkinButton::kNormal);
    button->click(); // not a toggle: the main window sets the state
    EXPECT_EQ(button->m_nImageState, 0);
    button->m_nImageState = 2;
    EXPECT_EQ(Rendered(*button), rear);
    button->m_nImageState = 1;
    EXPECT_EQ(Rendered(*button), front);
    button->m_nImageState = 0;
    EXPECT_EQ(Rendered(*button), both);
}

TEST(GdipButtonStates, DisabledLookAndDisabledButtonAreGrey) {
    auto button = MakeButton(133, 137, 0, QSize(36, 36));
    const QImage grey = button->PreparedDisabledFace();
    button->m_bDisabledLook = 1;
    EXPECT_EQ(Rendered(*button), grey);
    button->m_bDisabledLook = 0;
    button->setEnabled(false);
    EXPECT_EQ(Rendered(*button), grey);
}

TEST(GdipButtonPointer, HoverBrightensUntilThePointerLeaves) {
    auto button = MakeButton(257, 0, 0, QSize(36, 36));
    const QImage normal = button->PreparedFace(0, CSkinButton::kNormal);
    const QImage hover = button->PreparedFace(0, CSkinButton::kHover);
    EXPECT_FALSE(button->IsHover());
    SendMouse(*button, QEvent::MouseMove);
    EXPECT_TRUE(button->IsHover());
    EXPECT_TRUE(button->IsTracking());
    EXPECT_EQ(Rendered(*button), hover);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button.get(), &leave);
    EXPECT_FALSE(button->IsHover());
    EXPECT_FALSE(button->IsTracking());
    EXPECT_EQ(Rendered(*button), normal);
}

TEST(GdipButtonPointer, PressedFaceWhileDownAndDoubleClickIsASecondPress) {
    auto button = MakeButton(257, 0, 0, QSize(36, 36));
    QSignalSpy clicks(button.get(), &QAbstractButton::clicked);
    SendMouse(*button, QEvent::MouseButtonPress);
    EXPECT_EQ(Rendered(*button), button->PreparedFace(0, CSkinButton::kPressed));
    SendMouse(*button, QEvent::MouseButtonRelease);
    SendMouse(*button, QEvent::MouseButtonDblClick);
    EXPECT_TRUE(button->isDown());
    SendMouse(*button, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(GdipButtonAccessibility, PushButtonPressableByItsAction) {
    auto button = MakeButton(257, 0, 0, QSize(36, 36));
    button->setAccessibleName(QStringLiteral("Next file"));
    QSignalSpy clicks(button.get(), &QAbstractButton::clicked);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button.get());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Next file"));
    EXPECT_FALSE(iface->state().checkable);
    ASSERT_NE(iface->actionInterface(), nullptr);
    EXPECT_TRUE(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
}

TEST(GdipButtonAccessibility, ToggleButtonReportsItsCheckedState) {
    auto button = MakeButton(184, 183, 0, QSize(12, 24));
    button->m_bToggle = 1;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(button.get());
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Button);
    EXPECT_TRUE(iface->state().checkable);
    EXPECT_FALSE(iface->state().checked);
    iface->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(button->m_nImageState, 1);
    EXPECT_TRUE(iface->state().checked);
    button->setEnabled(false);
    iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(button->m_nImageState, 1); // a disabled button cannot be pressed
}
