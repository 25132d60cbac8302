#include "png_compass_static.h"

#include "skin_picture.h"
#include "glow_text.h"

#include <QPainter>

namespace {

// Where north points in picture k (1 = up), said in words.
QString NorthDirectionText(int image) {
    static const char* const kDirections[] = {"up",   "upper right", "right", "lower right",
                                              "down", "lower left",  "left",  "upper left"};
    if (image < 1 || image > 8) return QString();
    return QStringLiteral("North points %1").arg(QLatin1String(kDirections[image - 1]));
}

} // namespace

int CompassImageForHeading(int headingDegrees, int imageCount) {
    if (imageCount <= 0) return 0;
    // Headings come as byte x 2 and reach 510; keep the angle inside one turn.
    const int angle = ((360 - headingDegrees) % 360 + 360) % 360;
    int step = angle / 45;
    if (angle - 45 * step > 22) ++step;
    return step % imageCount + 1;
}

CPngCompassStatic::CPngCompassStatic(QWidget* parent) : QWidget(parent) {}

int CPngCompassStatic::AddImage(int resourceNumber) {
    CSkinPicture holder;
    if (!holder.Load(resourceNumber)) return 0;
    return AddImage(holder.Picture());
}

int CPngCompassStatic::AddImage(const QImage& image) {
    if (image.isNull()) return 0;
    m_images.push_back(image);
    if (m_images.size() == 1) m_greyRose = ColorMatrixApplied(image, kGrayScaleMatrix);
    return 1;
}

void CPngCompassStatic::SetImages(std::vector<QImage> images) {
    m_images.clear();
    m_greyRose = QImage();
    for (const QImage& image : images)
        AddImage(image);
    update();
}

int CPngCompassStatic::SetHeading(int headingDegrees) {
    m_nImage = CompassImageForHeading(headingDegrees, ImageCount());
    SyncAccessibleText();
    update();
    return 1;
}

void CPngCompassStatic::SyncAccessibleText() {
    const QString text = m_nImage >= 1 && m_nImage <= ImageCount() && ImageCount() == 8
                             ? NorthDirectionText(m_nImage)
                             : QString();
    if (accessibleDescription() != text) setAccessibleDescription(text);
}

void CPngCompassStatic::paintEvent(QPaintEvent*) {
    SyncAccessibleText();
    if (m_images.empty() || m_nImage < 0 || m_nImage > ImageCount()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(rect(), m_nImage == 0 ? m_greyRose : m_images[m_nImage - 1]);
}
