#include "png_static.h"

#include "glow_text.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace {

// A picture to assistive technology; the main window gives it its name.
QAccessibleInterface* PngStaticAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CPngStatic") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

CPngStatic::CPngStatic(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(PngStaticAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    setAttribute(Qt::WA_NoSystemBackground); // the skin shows around the picture's transparent parts
}

CPngStatic::~CPngStatic() = default;

bool CPngStatic::LoadImage(int resourceNumber) {
    m_pImage = std::make_unique<CSkinPicture>();
    const bool loaded = m_pImage->Load(resourceNumber);
    update();
    return loaded;
}

void CPngStatic::paintEvent(QPaintEvent*) {
    if (!m_pImage || !m_pImage->HasPicture()) return;
    const QImage& picture = m_pImage->Picture();
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_bColor) {
        painter.drawImage(rect(), picture);
        return;
    }
    if (m_grey.isNull() || m_greyFrom != picture.cacheKey()) {
        m_grey = ColorMatrixApplied(picture, kGrayScaleMatrix);
        m_greyFrom = picture.cacheKey();
    }
    painter.drawImage(rect(), m_grey);
}
