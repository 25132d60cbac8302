#include "trip_bar.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

#include "trips.h"

namespace {

const QColor kBackground(5, 5, 5);
const QColor kSegmentColours[2] = {QColor(58, 58, 62), QColor(78, 78, 84)};
const QColor kPlayed(40, 120, 200);
const QColor kBoundary(220, 220, 220);
const QColor kCursor(255, 255, 255);

constexpr int kMargin = 2;
constexpr int kSingleStepSeconds = 5;
constexpr int kPageStepSeconds = 60;

int SecondsOf(int64_t ms) {
    return static_cast<int>(std::clamp<int64_t>(ms / 1000, 0, std::numeric_limits<int>::max()));
}

QString ClockText(int seconds) {
    return QString::asprintf("%d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

} // namespace

std::vector<TripBarSegment> TripBarSegmentsOf(const CTrip& trip) {
    std::vector<TripBarSegment> segments;
    for (size_t position : trip.Timeline()) {
        const TripRecording& r = trip.Recordings()[position];
        segments.push_back({r.startOffsetMs, r.durationMs});
    }
    return segments;
}

CTripBar::CTripBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setAccessibleName(QStringLiteral("Trip position"));
    setFocusPolicy(Qt::StrongFocus);
    setRange(0, 0);
    setSingleStep(kSingleStepSeconds);
    setPageStep(kPageStepSeconds);
    // A drag reports once, where it is let go: every report opens a recording.
    setTracking(false);
    connect(this, &QAbstractSlider::valueChanged, this, &CTripBar::OnValueChanged);
    UpdateDescription();
}

void CTripBar::SetTrip(int64_t lengthMs, std::vector<TripBarSegment> segments) {
    m_llLengthMs = std::max<int64_t>(lengthMs, 0);
    m_Segments = std::move(segments);
    m_Marks.clear();
    m_llPlayedMs = 0;
    m_bMovingByCode = true;
    setSliderDown(false);
    setRange(0, SecondsOf(m_llLengthMs));
    setValue(0);
    m_bMovingByCode = false;
    UpdateDescription();
    update();
}

void CTripBar::SetPlayedMs(int64_t tripMs) {
    m_llPlayedMs = std::clamp<int64_t>(tripMs, 0, m_llLengthMs);
    if (isSliderDown()) return; // the user's drag keeps the thumb
    m_bMovingByCode = true;
    setValue(SecondsOf(m_llPlayedMs));
    m_bMovingByCode = false;
    UpdateDescription();
    update();
}

void CTripBar::SetEventMarks(std::vector<TripBarMark> marks) {
    m_Marks = std::move(marks);
    update();
}

QRect CTripBar::BarRect() const {
    return rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

int CTripBar::XOfMs(int64_t tripMs) const {
    const QRect bar = BarRect();
    if (m_llLengthMs <= 0 || bar.width() <= 1) return bar.left();
    const double share = static_cast<double>(std::clamp<int64_t>(tripMs, 0, m_llLengthMs)) / m_llLengthMs;
    return bar.left() + static_cast<int>(share * (bar.width() - 1) + 0.5);
}

int CTripBar::SecondsAtX(int x) const {
    const QRect bar = BarRect();
    if (bar.width() <= 1) return minimum();
    const double share = std::clamp(static_cast<double>(x - bar.left()) / (bar.width() - 1), 0.0, 1.0);
    return std::clamp(static_cast<int>(share * m_llLengthMs / 1000.0 + 0.5), minimum(), maximum());
}

QSize CTripBar::sizeHint() const {
    return {400, 18};
}

QSize CTripBar::minimumSizeHint() const {
    return {40, 12};
}

void CTripBar::OnValueChanged(int seconds) {
    if (m_bMovingByCode) return;
    m_llPlayedMs = static_cast<int64_t>(seconds) * 1000;
    UpdateDescription();
    update();
    emit tripPositionRequested(seconds);
}

void CTripBar::UpdateDescription() {
    setAccessibleDescription(ClockText(value()) + QStringLiteral(" / ") + ClockText(maximum()));
}

void CTripBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    const QRect bar = BarRect();
    for (size_t i = 0; i < m_Segments.size(); ++i) {
        const TripBarSegment& s = m_Segments[i];
        const int x0 = XOfMs(s.startMs), x1 = XOfMs(s.startMs + s.lengthMs);
        painter.fillRect(QRect(QPoint(x0, bar.top()), QPoint(std::max(x0, x1), bar.bottom())),
                         kSegmentColours[i % 2]);
    }
    // While the user drags, the part up to the thumb shows where the trip will go on.
    const int64_t shownMs = isSliderDown() ? static_cast<int64_t>(sliderPosition()) * 1000 : m_llPlayedMs;
    const int cursorX = XOfMs(shownMs);
    if (m_llLengthMs > 0 && cursorX > bar.left())
        painter.fillRect(
            QRect(QPoint(bar.left(), bar.top() + bar.height() / 4), QPoint(cursorX, bar.bottom())), kPlayed);
    for (size_t i = 1; i < m_Segments.size(); ++i) {
        const int x = XOfMs(m_Segments[i].startMs);
        painter.fillRect(QRect(x, bar.top(), 1, bar.height()), kBoundary);
    }
    for (const TripBarMark& mark : m_Marks) {
        const int x = XOfMs(mark.tripMs);
        painter.fillRect(QRect(x - 1, bar.top(), 3, std::max(3, bar.height() / 2)), mark.colour);
    }
    if (m_llLengthMs > 0) painter.fillRect(QRect(cursorX - 1, rect().top(), 3, rect().height()), kCursor);
    if (hasFocus()) {
        painter.setPen(QPen(kCursor, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void CTripBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || maximum() <= minimum()) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setSliderDown(true);
    setSliderPosition(SecondsAtX(qRound(event->position().x())));
    update();
    event->accept();
}

void CTripBar::mouseMoveEvent(QMouseEvent* event) {
    if (!isSliderDown()) return;
    setSliderPosition(SecondsAtX(qRound(event->position().x())));
    update();
}

void CTripBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isSliderDown()) return;
    setSliderPosition(SecondsAtX(qRound(event->position().x())));
    const bool unchanged = sliderPosition() == value();
    setSliderDown(false);                   // reports the new value through valueChanged
    if (unchanged) OnValueChanged(value()); // a click on the current second is still a choice
    update();
}
