// Helpers of the curve and slider tests: render a widget into an image, send it mouse and key
// input, count pixels of a colour.
#pragma once

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace widget_test {

inline QImage Render(QWidget& widget, QColor under = QColor(255, 0, 255)) {
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(under);
    widget.render(&image);
    return image;
}

inline void SendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void Press(QWidget& w, QPoint at) {
    SendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
}
inline void Drag(QWidget& w, QPoint at) {
    SendMouse(w, QEvent::MouseMove, at, Qt::LeftButton);
}
inline void Release(QWidget& w, QPoint at) {
    SendMouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton);
}
inline void Click(QWidget& w, QPoint at) {
    Press(w, at);
    Release(w, at);
}

inline void Key(QWidget& widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

inline bool Near(QRgb pixel, QColor colour, int tolerance = 0) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

inline int CountInRect(const QImage& image, QRect rect, QColor colour, int tolerance = 0) {
    int n = 0;
    rect = rect.intersected(image.rect());
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            n += Near(image.pixel(x, y), colour, tolerance);
    return n;
}

inline int CountInRow(const QImage& image, int y, int x0, int x1, QColor colour) {
    return CountInRect(image, QRect(QPoint(x0, y), QPoint(x1 - 1, y)), colour);
}

} // namespace widget_test
