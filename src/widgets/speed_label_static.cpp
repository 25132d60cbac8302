#include "speed_label_static.h"

#include "glow_text.h"
#include "speed_text.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor kLabelBackground(5, 5, 5);

void SetDescriptionIfChanged(QWidget& widget, const QString& text) {
    if (widget.accessibleDescription() != text) widget.setAccessibleDescription(text);
}

} // namespace

QString SpeedValueText(uint16_t speedKmh, bool kmh) {
    return QString::fromStdString(SpeedDigits(speedKmh, kmh));
}

QString SpeedUnitText(bool kmh) {
    return QString::fromStdString(SpeedUnitName(kmh));
}

void PaintLabelBackground(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, kLabelBackground);
}

CSpeedLabelStatic::CSpeedLabelStatic(QWidget* parent) : QWidget(parent) {
    UpdateTexts();
}

int CSpeedLabelStatic::UpdateTexts() {
    m_strUnit = SpeedUnitText(m_bKmh != 0);
    m_strValue = SpeedValueText(m_nSpeed, m_bKmh != 0);
    SyncAccessibleText();
    return 1;
}

void CSpeedLabelStatic::ToggleUnit() {
    m_bKmh = m_bKmh ? 0 : 1;
    UpdateTexts();
    update();
}

void CSpeedLabelStatic::SyncAccessibleText() {
    SetDescriptionIfChanged(*this,
                            m_bValid ? m_strValue.trimmed() + QLatin1Char(' ') + m_strUnit : QString());
}

void CSpeedLabelStatic::paintEvent(QPaintEvent*) {
    // Callers may change m_bValid between UpdateTexts calls; what is read aloud follows the picture.
    SyncAccessibleText();
    QPainter painter(this);
    PaintLabelBackground(painter, rect());
    if (!m_bValid) return;
    m_glow.Draw(painter, m_strValue, 0, 5, 20);
    m_glow.Draw(painter, m_strUnit, 40, 13, 12);
}

void CSpeedLabelStatic::mousePressEvent(QMouseEvent* event) {
    // Qt grabs the mouse for the pressed button, so the release arrives here even outside.
    event->accept();
}

void CSpeedLabelStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) ToggleUnit();
}

void CSpeedLabelStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) ToggleUnit();
}

CPbSpeedLabelStatic::CPbSpeedLabelStatic(QWidget* parent) : QWidget(parent) {}

int CPbSpeedLabelStatic::SetLabel(const char* text, int show) {
    m_strText = text ? QString::fromLatin1(text) : QString();
    m_bShow = show;
    SetDescriptionIfChanged(*this, m_bShow ? m_strText : QString());
    update();
    return 1;
}

void CPbSpeedLabelStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintLabelBackground(painter, rect());
    if (m_bShow) m_glow.Draw(painter, m_strText, 0, 5, 20);
}
