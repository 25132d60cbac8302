#include "video_slider.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "private_message.h"
#include "win_edges.h"
#include "win_fonts.h"

// ---------------------------------------------------------------------------------------------
// CVideoSlider

CVideoSlider::CVideoSlider(QWidget* parent)
    : CFusionSlider(parent, QColor(100, 250, 100), QColor(240, 0, 180)),
      m_pTimeFont(WinFont("Consolas", -12)) {
    setRange(0, 1000);
    setValue(m_scale.origin);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(this, &QAbstractSlider::actionTriggered, this, &CVideoSlider::OnUserAction);
    UpdateDescription();
}

void CVideoSlider::SetDurationMs(uint32_t ms) {
    m_nDurationMs = ms;
    UpdateDescription();
    update();
}

void CVideoSlider::SetCurrentMs(uint32_t ms) {
    m_nCurrentMs = ms;
    UpdateDescription();
    update();
}

void CVideoSlider::UpdateDescription() {
    const QString text = SeekTimeText(m_nCurrentMs) + QStringLiteral(" / ") + SeekTimeText(m_nDurationMs);
    if (accessibleDescription() != text) setAccessibleDescription(text);
}

QRect CVideoSlider::ChannelRect() const {
    return SubControlRect(QStyle::SC_SliderGroove);
}

// Every user move ends here (the pointer moves below trigger it too). Time 0 is the lowest a user
// can seek to; the receiver reads the slider's value while the message is delivered.
void CVideoSlider::OnUserAction(int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    const SeekScale scale = m_scale;
    if (sliderPosition() < scale.origin) setSliderPosition(scale.origin);
    setValue(sliderPosition());
    SetCurrentMs(SeekPositionToMs(value(), scale, m_nDurationMs));
    SendPrivateMessage(MessageTarget(), MSG_SEEK_REQUEST, 0);
}

// The position under the pointer, never left of time 0; a move by code, so nothing is sent.
void CVideoSlider::MoveToPointer(int x) {
    const QRect channel = ChannelRect();
    const SeekScale scale = m_scale;
    const int p =
        std::max(SliderPositionAtX(x, channel.left(), channel.width(), minimum(), maximum()), scale.origin);
    setValue(p);
    SetCurrentMs(SeekPositionToMs(value(), scale, m_nDurationMs));
}

void CVideoSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintGroove(painter);
    PaintTimeMarks(painter);
    PaintThumb(painter);
}

void CVideoSlider::SetTimeMarks(std::vector<SliderTimeMark> marks, SliderMarkLayer layer) {
    m_Marks[layer] = std::move(marks);
    update();
}

const std::vector<SliderTimeMark>& CVideoSlider::TimeMarks(SliderMarkLayer layer) const {
    static const std::vector<SliderTimeMark> none;
    const auto it = m_Marks.find(layer);
    return it == m_Marks.end() ? none : it->second;
}

int CVideoSlider::XOfMs(uint32_t ms) const {
    const SeekScale scale = m_scale;
    const int64_t clamped = std::min(ms, m_nDurationMs);
    const int64_t position =
        m_nDurationMs == 0 ? scale.origin : scale.origin + clamped * scale.span / int64_t(m_nDurationMs);
    return SliderThumbX(ChannelRect().width(), int(position), minimum(), maximum());
}

// Three pixels wide, along the groove's lower half so that the time texts stay readable.
void CVideoSlider::PaintTimeMarks(QPainter& painter) {
    if (m_nDurationMs == 0) return;
    const QRect channel = ChannelRect();
    const int top = channel.center().y();
    for (const auto& [layer, marks] : m_Marks)
        for (const SliderTimeMark& mark : marks)
            painter.fillRect(XOfMs(mark.ms) - 1, top, 3, std::max(channel.bottom() - top + 1, 3), mark.colour);
}

void CVideoSlider::PaintGroove(QPainter& painter) {
    painter.fillRect(rect(), Qt::black);
    const QRect inner = DrawSunkenEdge(painter, rect());

    m_scale = SeekScaleForWidth(maximum(), width(), m_scale);
    emit thumbDrawn(SliderThumbX(ChannelRect().width(), sliderPosition(), minimum(), maximum()));
    if (!m_bDrawn && MessageTarget()) {
        // Painting must not run the receiver's handler inside it: the first-drawing notice is posted.
        m_bDrawn = true;
        PostPrivateMessage(MessageTarget(), MSG_SEEK_REQUEST, 0);
    }

    const int innerRight = inner.left() + inner.width(); // exclusive, as the boxes below are
    painter.setFont(m_pTimeFont);
    painter.setPen(Qt::white);
    const QRect leftBox(QPoint(inner.left(), inner.top()), QPoint(50 - 1, inner.bottom()));
    const QRect rightBox(QPoint(innerRight - 50, inner.top()), QPoint(innerRight - 1, inner.bottom()));
    painter.drawText(leftBox, Qt::AlignCenter | Qt::TextSingleLine, SeekTimeText(m_nCurrentMs));
    painter.drawText(rightBox, Qt::AlignCenter | Qt::TextSingleLine, SeekTimeText(m_nDurationMs));
    painter.fillRect(46, inner.top(), 2, inner.height(), Qt::white);
    painter.fillRect(innerRight - 54, inner.top(), 2, inner.height(), Qt::white);
}

// ---------------------------------------------------------------------------------------------
// CVolumeSlider

CVolumeSlider::CVolumeSlider(QWidget* parent)
    : CFusionSlider(parent, QColor(255, 0, 0), QColor(170, 0, 0)) {
    setRange(0, 100);
    setValue(50);
    setAutoFillBackground(false);
    connect(this, &QAbstractSlider::actionTriggered, this, &CVolumeSlider::OnUserAction);
}

QRect CVolumeSlider::GrooveRect() const {
    const QRect groove = SubControlRect(QStyle::SC_SliderGroove);
    return orientation() == Qt::Horizontal ? groove.adjusted(0, -2, 0, 2) : groove.adjusted(-1, 0, 1, 0);
}

void CVolumeSlider::OnUserAction(int action) {
    if (action == QAbstractSlider::SliderNoAction) return;
    setValue(sliderPosition());
    SendPrivateMessage(MessageTarget(), MSG_VOLUME_CHANGED, 0);
}

void CVolumeSlider::MoveToPointer(int x) {
    const QRect channel = SubControlRect(QStyle::SC_SliderGroove);
    setValue(SliderPositionAtX(x, channel.left(), channel.width(), minimum(), maximum()));
}

void CVolumeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawSunkenEdge(painter, GrooveRect());
    PaintThumb(painter);
}
