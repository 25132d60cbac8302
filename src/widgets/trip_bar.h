// The trip bar: one horizontal bar for a whole trip, its recordings drawn as segments with their
// boundaries, the part played so far, and marks at chosen moments (events). Its value is the
// number of seconds since the trip's start (0 to the trip's length), which screen readers read
// and set through the standard slider interface (it is a QSlider, accessible name
// "Trip position").
//
// A user's choice (a click, a drag when it is let go, the arrow, page and Home/End keys, the
// wheel, or a value set through accessibility) is sent as one tripPositionRequested with the
// seconds chosen. Moves made by code (SetPlayedMs) send nothing, and are held back while the
// user drags.
#pragma once

#include <QColor>
#include <QSlider>

#include <cstdint>
#include <vector>

class CTrip;

struct TripBarSegment {
    int64_t startMs = 0; // from the trip's start
    int64_t lengthMs = 0;
};

struct TripBarMark {
    int64_t tripMs = 0;
    QColor colour; // one colour per kind of event
};

// The segments of the trip's leading recordings, in time order.
std::vector<TripBarSegment> TripBarSegmentsOf(const CTrip& trip);

class CTripBar : public QSlider {
    Q_OBJECT
  public:
    explicit CTripBar(QWidget* parent = nullptr);

    // A new trip: its length and recordings; the played part starts at 0, the marks are dropped.
    void SetTrip(int64_t lengthMs, std::vector<TripBarSegment> segments);
    int64_t LengthMs() const { return m_llLengthMs; }
    const std::vector<TripBarSegment>& Segments() const { return m_Segments; }

    // The playback position on the trip's time line (sends nothing).
    void SetPlayedMs(int64_t tripMs);
    int64_t PlayedMs() const { return m_llPlayedMs; }

    void SetEventMarks(std::vector<TripBarMark> marks);
    const std::vector<TripBarMark>& EventMarks() const { return m_Marks; }

    // Where the moment `tripMs` is drawn, and the moment (in seconds) under x.
    int XOfMs(int64_t tripMs) const;
    int SecondsAtX(int x) const;
    // The area the trip is drawn in.
    QRect BarRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    // The user chose this moment of the trip (seconds since its start).
    void tripPositionRequested(int seconds);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void OnValueChanged(int seconds);
    void UpdateDescription();

    int64_t m_llLengthMs = 0;
    int64_t m_llPlayedMs = 0;
    std::vector<TripBarSegment> m_Segments;
    std::vector<TripBarMark> m_Marks;
    bool m_bMovingByCode = false;
};
