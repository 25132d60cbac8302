// The seek slider (CVideoSlider) and the volume slider (CVolumeSlider): horizontal QSliders with
// the Fusion style fixed, so that their channel and thumb rectangles are the same on every desktop,
// and with their groove and thumb drawn here.
//
// A user's move (press, drag, release, keys, wheel) reaches the receiver as a message: 0x0C0D for
// the seek slider, 0x0C0C for the volume slider. Moves made by code (setValue, SetCurrentMs) never
// send anything, so the playback controller can move the thumb without seeking.
#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>
#include <map>
#include <vector>

#include "fusion_slider.h"
#include "seek_scale.h"

// A moment marked on the seek slider (an event, a clip's start or end), drawn as a short bar under
// the groove.
struct SliderTimeMark {
    uint32_t ms = 0;
    QColor colour;
};

// Who set a mark: each part replaces only its own layer of marks.
enum class SliderMarkLayer { kEvents, kClip };

// Its receiver (SetMessageTarget) gets 0x0C0D. The first drawing once a receiver is set posts one
// 0x0C0D, once for the slider's life; user moves send it.
//
// The slider owns the seek scale: its drawing lays the scale out for its width, and reports where
// the thumb stands (the G-sensor curve draws its cursor there after a seek).
class CVideoSlider : public CFusionSlider {
    Q_OBJECT
  public:
    explicit CVideoSlider(QWidget* parent = nullptr);

    // Positions of time 0 and of the span to the end, as of the last drawing.
    SeekScale Scale() const { return m_scale; }
    // The position of time 0 (the thumb's place with nothing played).
    int OriginPosition() const { return m_scale.origin; }

    // Length of the recording, and the time shown at the left end.
    void SetDurationMs(uint32_t ms);
    uint32_t DurationMs() const { return m_nDurationMs; }
    void SetCurrentMs(uint32_t ms);
    uint32_t CurrentMs() const { return m_nCurrentMs; }

    // The channel rectangle of the style, in widget coordinates.
    QRect ChannelRect() const;

    // Marks at moments of the recording, by layer; a new recording brings its own (or none).
    void SetTimeMarks(std::vector<SliderTimeMark> marks, SliderMarkLayer layer = SliderMarkLayer::kEvents);
    const std::vector<SliderTimeMark>& TimeMarks(SliderMarkLayer layer = SliderMarkLayer::kEvents) const;
    // Where the moment `ms` lies: the thumb's x when it stands there.
    int XOfMs(uint32_t ms) const;

  signals:
    // Each drawing: the thumb's x, as SliderThumbX gives it.
    void thumbDrawn(int x);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void MoveToPointer(int x) override;
    // The drag ends where the pointer is let go.
    void OnDragReleased(int x) override { MoveToPointer(x); }

  private:
    void OnUserAction(int action);
    void PaintGroove(QPainter& painter);
    void PaintTimeMarks(QPainter& painter);
    void UpdateDescription();

    QFont m_pTimeFont;
    uint32_t m_nDurationMs = 0;
    uint32_t m_nCurrentMs = 0;
    std::map<SliderMarkLayer, std::vector<SliderTimeMark>> m_Marks;
    SeekScale m_scale;
    bool m_bDrawn = false; // the first-drawing notice went out
};

// Its receiver (SetMessageTarget) gets 0x0C0C.
class CVolumeSlider : public CFusionSlider {
    Q_OBJECT
  public:
    explicit CVolumeSlider(QWidget* parent = nullptr);

    QRect GrooveRect() const;

  protected:
    // The parent's skin shows through: the slider paints only its groove and thumb.
    void paintEvent(QPaintEvent* event) override;
    void MoveToPointer(int x) override;

  private:
    void OnUserAction(int action);
};
