#include "win_fonts.h"

#include <QFontInfo>
#include <QFontMetrics>

QString LinuxFontFamily(const QString& windowsFamily) {
    if (windowsFamily.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Liberation Sans");
    if (windowsFamily.compare(QStringLiteral("Consolas"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Sans Mono");
    if (windowsFamily.compare(QStringLiteral("Georgia"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("DejaVu Serif");
    return windowsFamily;
}

QFont WinFont(const QString& windowsFamily, int height, bool bold) {
    QFont font(LinuxFontFamily(windowsFamily));
    font.setBold(bold);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        int size = height;
        font.setPixelSize(size);
        while (size > 1 && QFontMetrics(font).height() > height)
            font.setPixelSize(--size);
    }
    return font;
}

QFont FontFittingWidth(const QFont& font, const QString& text, int width, int minimumPixels) {
    QFont fitted = font;
    int size = fitted.pixelSize() > 0 ? fitted.pixelSize() : QFontInfo(fitted).pixelSize();
    while (size > minimumPixels && QFontMetrics(fitted).horizontalAdvance(text) > width)
        fitted.setPixelSize(--size);
    return fitted;
}
