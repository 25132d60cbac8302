// The seek slider (CVideoSlider) and the volume slider (CMySliderControl): horizontal QSliders with
// the Fusion style fixed, so that their channel and thumb rectangles are the same on every desktop,
// and with their groove and thumb drawn here.
//
// A user's move (press, drag, release, keys, wheel) reaches the receiver as a message: 0x0C0D for
// the seek slider, 0x0C0C for the volume slider. Moves made by code (setValue, SetCurrentMs) never
// send anything, so the playback controller can move the thumb without seeking.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointer>
#include <QSlider>
#include <cstdint>

#include "seek_scale.h"

class CVideoSlider : public QSlider {
    Q_OBJECT
  public:
    explicit CVideoSlider(QWidget* parent = nullptr);

    // Receiver of 0x0C0D (the main window). The first drawing once a receiver is set posts one
    // 0x0C0D, once per run (g_bSliderDrawn); user moves send it.
    void SetMessageTarget(QObject* receiver) { m_pTarget = receiver; }

    // Length of the recording, and the time shown at the left end.
    void SetDurationMs(uint32_t ms);
    uint32_t DurationMs() const { return m_nDurationMs; }
    void SetCurrentMs(uint32_t ms);
    uint32_t CurrentMs() const { return m_nCurrentMs; }
    bool IsDragging() const { return m_bDragging != 0; }

    // The channel and thumb rectangles of the style, in widget coordinates.
    QRect ChannelRect() const;
    QRect ThumbRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void OnUserAction(int action);
    void MoveToPointer(int x);
    void PaintGroove(QPainter& painter);
    void UpdateDescription();

    int m_bDragging = 0;
    QColor m_crThumbPressed{240, 0, 180};
    QColor m_crThumb{100, 250, 100};
    QFont m_pTimeFont;
    uint32_t m_nDurationMs = 0;
    uint32_t m_nCurrentMs = 0;
    QPointer<QObject> m_pTarget;
};

class CMySliderControl : public QSlider {
    Q_OBJECT
  public:
    explicit CMySliderControl(QWidget* parent = nullptr);

    // Receiver of 0x0C0C (the main window).
    void SetMessageTarget(QObject* receiver) { m_pTarget = receiver; }
    bool IsDragging() const { return m_bDragging != 0; }

    QRect GrooveRect() const;
    QRect ThumbRect() const;

  protected:
    // The parent's skin shows through: the slider paints only its groove and thumb.
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void OnUserAction(int action);
    void MoveToPointer(int x);

    QColor m_crThumb{255, 0, 0};
    QColor m_crThumbPressed{170, 0, 0};
    int m_bDragging = 0;
    QPointer<QObject> m_pTarget;
};
