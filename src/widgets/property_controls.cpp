#include "property_controls.h"

#include "win_fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kSegmentLit(0, 255, 0);
const QColor kSegmentDark(128, 128, 128);
const QColor kArrowLit(255, 255, 0);
const QColor kArrowDark(198, 198, 198);
const QColor kLookDownInk(198, 198, 198);
constexpr int kDotRadius = 5;

// A Windows rectangle (right and bottom exclusive).
QRect WinRect(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

int Right(const QRect& r) {
    return r.left() + r.width();
}
int Bottom(const QRect& r) {
    return r.top() + r.height();
}

// Truncation toward zero of a pixel offset, kept far from the limits of int.
int TruncatedOffset(double value) {
    return static_cast<int>(std::clamp(value, -1.0e6, 1.0e6));
}

int LineHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.height() + std::max(0, metrics.leading());
}

void PaintFrameAndBack(QPainter& painter, const QRect& item, int borderWidth, const QColor& border,
                       const QColor& back) {
    painter.fillRect(item, back);
    if (borderWidth <= 0) return;
    // The pen lies inside the rectangle: the frame is the item minus its inner part.
    painter.fillRect(item, border);
    const QRect inner = item.adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth);
    if (inner.width() > 0 && inner.height() > 0) painter.fillRect(inner, back);
}

} // namespace

// ---- geometry ----

PropertyTextLayout PropertyTextGeometry(const QRect& item, int borderWidth, int captionHeight,
                                        int valueHeight) {
    PropertyTextLayout layout;
    layout.inner = item.adjusted(borderWidth, borderWidth, -borderWidth, -borderWidth);
    const int block = captionHeight + 1 + valueHeight;
    const int y0 = layout.inner.top() + (layout.inner.height() - block) / 2;
    layout.caption = QRect(layout.inner.left(), y0, layout.inner.width(), captionHeight);
    layout.value = QRect(layout.inner.left(), y0 + captionHeight + 1, layout.inner.width(), valueHeight);
    return layout;
}

QRect SteeringBarLayout::Segment(int i) const {
    const int left = x0 + i * (segmentWidth + 2);
    return WinRect(left, i == kSteeringCentre ? top - 2 : top, left + segmentWidth, bottom);
}

SteeringBarLayout SteeringBarGeometry(const QRect& inner) {
    const int a = inner.left(), b = inner.top(), c = Right(inner), d = Bottom(inner);
    SteeringBarLayout bar;
    const int width = c - a;
    bar.segmentWidth = (width - 120) / kSteeringSegments;
    const int centreX = a + 20 + (width - 40) / 2;
    bar.x0 = centreX - (kSteeringSegments * bar.segmentWidth + 80) / 2;
    const int mid = b + (d - b) / 2;
    const int bandHeight = d - mid - 2;
    bar.top = mid + (d - mid) / 2 - bandHeight / 2;
    bar.bottom = bar.top + bandHeight;
    bar.leftLabel = WinRect(bar.x0 - 20, bar.top, bar.x0, bar.bottom);
    bar.rightLabel = WinRect(bar.x0 + kSteeringSegments * (bar.segmentWidth + 2), bar.top,
                             bar.x0 + kSteeringSegments * bar.segmentWidth + 102, bar.bottom);
    return bar;
}

bool SteeringSegmentLit(int i, int percent, bool right) {
    if (i == kSteeringCentre) return true;
    const int n = percent / 5 + (percent % 5 != 0 ? 1 : 0);
    return right ? (i >= kSteeringCentre && i <= kSteeringCentre + n)
                 : (i >= kSteeringCentre - n && i <= kSteeringCentre);
}

TurnArrowsLayout TurnArrowsGeometry(const QRect& inner, int captionWidth) {
    const int a = inner.left(), b = inner.top(), c = Right(inner), d = Bottom(inner);
    const int cx = a + (c - a) / 2;
    const int mid = b + (d - b) / 2;
    const int cy = mid + (d - mid) / 2;
    const int e = (captionWidth - 30) / 2;
    TurnArrowsLayout arrows;
    // cx already counts from a; adding a again shifts the pair right by the frame width, as drawn
    // since the first version of the gauge.
    const int xl = a + cx - e - 15;
    arrows.leftBody = WinRect(xl, cy - 5, xl + 15, cy + 5);
    arrows.leftHead = QPolygon({QPoint(xl, cy - 10), QPoint(xl - 15, cy), QPoint(xl, cy + 10)});
    const int xr = a + cx + e;
    arrows.rightBody = WinRect(xr, cy - 5, xr + 15, cy + 5);
    arrows.rightHead = QPolygon({QPoint(xr + 15, cy - 10), QPoint(xr + 30, cy), QPoint(xr + 15, cy + 10)});
    return arrows;
}

bool LeftArrowLit(int state) {
    return state == 1 || state == 3;
}
bool RightArrowLit(int state) {
    return state == 2 || state == 3;
}

LookDownLayout LookDownGeometry(const QRect& inner, double horizontal, double vertical) {
    LookDownLayout layout;
    const int g = std::min(inner.width(), inner.height()) - 10;
    layout.outerRadius = g / 2;
    layout.innerRadius = layout.outerRadius / 2;
    const int cx = inner.left() + inner.width() / 2;
    const int cy = inner.top() + inner.height() / 2;
    layout.centre = QPoint(cx, cy);
    const double diagonal = std::cos(M_PI / 4);
    layout.outerLabel = QPoint(static_cast<int>(cx + layout.outerRadius * diagonal),
                               static_cast<int>(cy - layout.outerRadius * diagonal));
    layout.innerLabel = QPoint(static_cast<int>(cx + layout.innerRadius * diagonal),
                               static_cast<int>(cy - layout.innerRadius * diagonal));
    layout.dot = QPoint(cx - TruncatedOffset(layout.outerRadius * 0.5 * horizontal),
                        cy + TruncatedOffset(layout.outerRadius * 0.5 * vertical));
    return layout;
}

// ---- CPropertyText ----

CPropertyText::CPropertyText(QWidget* parent)
    : QWidget(parent), m_pCaptionFont(std::make_unique<QFont>(WinFont(QStringLiteral("Consolas"), -16))),
      m_pValueFont(std::make_unique<QFont>(*m_pCaptionFont)) {}

void CPropertyText::Refresh() {
    SyncAccessibleText();
    update();
}

QString CPropertyText::SpokenValue() const {
    return m_strValue;
}

void CPropertyText::SyncAccessibleText() {
    // The caption is the name unless the owner gave another one.
    if (accessibleName().isEmpty() || accessibleName() == m_strSpokenCaption) {
        if (accessibleName() != m_strCaption) setAccessibleName(m_strCaption);
        m_strSpokenCaption = m_strCaption;
    }
    const QString value = SpokenValue();
    if (accessibleDescription() != value) setAccessibleDescription(value);
}

QRect CPropertyText::PaintFrame(QPainter& painter, bool withValue) {
    const QFont captionFont = m_pCaptionFont ? *m_pCaptionFont : font();
    const QFont valueFont = m_pValueFont ? *m_pValueFont : captionFont;
    m_nCaptionHeight = LineHeight(captionFont);
    m_nValueHeight = LineHeight(valueFont);
    PaintFrameAndBack(painter, rect(), m_nBorderWidth, m_crBorder, m_crBack);
    const PropertyTextLayout layout =
        PropertyTextGeometry(rect(), m_nBorderWidth, m_nCaptionHeight, m_nValueHeight);
    painter.setFont(FontFittingWidth(captionFont, m_strCaption, layout.caption.width()));
    painter.setPen(m_crCaption);
    painter.drawText(layout.caption, Qt::AlignCenter | Qt::TextSingleLine, m_strCaption);
    if (withValue) {
        painter.setFont(FontFittingWidth(valueFont, m_strValue, layout.value.width()));
        painter.setPen(m_crValue);
        painter.drawText(layout.value, Qt::AlignCenter | Qt::TextSingleLine, m_strValue);
    }
    return layout.inner;
}

void CPropertyText::paintEvent(QPaintEvent*) {
    SyncAccessibleText();
    QPainter painter(this);
    PaintFrame(painter, true);
}

// ---- CPropertySteeringAngle ----

CPropertySteeringAngle::CPropertySteeringAngle(QWidget* parent) : CPropertyText(parent) {
    m_strValue = QStringLiteral("Invalid Data");
}

QString CPropertySteeringAngle::SpokenValue() const {
    if (m_nValue < 0) return m_strValue;
    if (m_nValue == 0) return QStringLiteral("Straight");
    return QStringLiteral("%1% %2").arg(m_nValue).arg(m_bRight ? QStringLiteral("right")
                                                               : QStringLiteral("left"));
}

void CPropertySteeringAngle::paintEvent(QPaintEvent*) {
    SyncAccessibleText();
    QPainter painter(this);
    const QRect inner = PaintFrame(painter, m_nValue < 0);
    if (m_nValue < 0) return;
    const SteeringBarLayout bar = SteeringBarGeometry(inner);
    painter.setFont(m_pCaptionFont ? *m_pCaptionFont : font());
    painter.setPen(m_crCaption);
    painter.drawText(bar.leftLabel, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("L"));
    painter.drawText(bar.rightLabel, Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("R"));
    if (bar.segmentWidth <= 0) return; // too narrow: empty segments, as an empty rectangle fills nothing
    for (int i = 0; i < kSteeringSegments; ++i)
        painter.fillRect(bar.Segment(i),
                         SteeringSegmentLit(i, m_nValue, m_bRight != 0) ? kSegmentLit : kSegmentDark);
}

// ---- CPropertyTurnSignal ----

CPropertyTurnSignal::CPropertyTurnSignal(QWidget* parent) : CPropertyText(parent) {
    m_strValue = QStringLiteral("Invalid Data");
}

QString CPropertyTurnSignal::SpokenValue() const {
    switch (m_nState) {
    case 0:
        return QStringLiteral("Off");
    case 1:
        return QStringLiteral("Left");
    case 2:
        return QStringLiteral("Right");
    case 3:
        return QStringLiteral("Both");
    default:
        return m_strValue;
    }
}

void CPropertyTurnSignal::paintEvent(QPaintEvent*) {
    SyncAccessibleText();
    QPainter painter(this);
    const QRect inner = PaintFrame(painter, m_nState < 0);
    if (m_nState < 0) return;
    const int captionWidth =
        QFontMetrics(m_pCaptionFont ? *m_pCaptionFont : font()).horizontalAdvance(m_strCaption);
    const TurnArrowsLayout arrows = TurnArrowsGeometry(inner, captionWidth);
    const auto drawArrow = [&painter](const QRect& body, const QPolygon& head, bool lit) {
        const QColor colour = lit ? kArrowLit : kArrowDark;
        painter.fillRect(body, colour);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(colour);
        painter.drawPolygon(head);
    };
    drawArrow(arrows.leftBody, arrows.leftHead, LeftArrowLit(m_nState));
    drawArrow(arrows.rightBody, arrows.rightHead, RightArrowLit(m_nState));
}

// ---- CPropertyGsensorLookDown ----

CPropertyGsensorLookDown::CPropertyGsensorLookDown(QWidget* parent) : QWidget(parent) {
    SyncAccessibleText();
}

void CPropertyGsensorLookDown::SetValues(double horizontal, double vertical) {
    m_dHorizontal = horizontal;
    m_dVertical = vertical;
    SyncAccessibleText();
    update();
}

void CPropertyGsensorLookDown::SyncAccessibleText() {
    const QString text = QStringLiteral("Horizontal %1 G, vertical %2 G")
                             .arg(m_dHorizontal, 0, 'f', 2)
                             .arg(m_dVertical, 0, 'f', 2);
    if (accessibleDescription() != text) setAccessibleDescription(text);
}

void CPropertyGsensorLookDown::paintEvent(QPaintEvent*) {
    SyncAccessibleText();
    QPainter painter(this);
    PaintFrameAndBack(painter, rect(), m_nBorderWidth, m_crBorder, m_crBack);
    const QRect inner = rect().adjusted(m_nBorderWidth, m_nBorderWidth, -m_nBorderWidth, -m_nBorderWidth);
    const LookDownLayout layout = LookDownGeometry(inner, m_dHorizontal, m_dVertical);
    if (layout.outerRadius <= 0) return; // no room for the rings

    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(layout.centre, layout.outerRadius, layout.outerRadius);
    painter.drawEllipse(layout.centre, layout.innerRadius, layout.innerRadius);

    // Clear both label boxes first so that the rings do not run through the labels.
    const QFontMetrics metrics(font());
    const QString outerText = QStringLiteral("2G"), innerText = QStringLiteral("1G");
    const QRect outerBox(layout.outerLabel, QSize(metrics.horizontalAdvance(outerText), metrics.height()));
    const QRect innerBox(layout.innerLabel, QSize(metrics.horizontalAdvance(innerText), metrics.height()));
    painter.fillRect(outerBox, m_crBack);
    painter.fillRect(innerBox, m_crBack);
    painter.setPen(kLookDownInk);
    painter.drawText(outerBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, outerText);
    painter.drawText(innerBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, innerText);

    const QPoint c = layout.centre;
    const int r = layout.outerRadius;
    painter.setPen(QPen(kLookDownInk, 1));
    painter.drawLine(c.x() - r, c.y(), c.x() + r - 1, c.y()); // the end point is not drawn
    painter.drawLine(c.x(), c.y() - r, c.x(), c.y() + r - 1);

    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kSegmentLit);
    painter.drawEllipse(layout.dot, kDotRadius, kDotRadius);
}
