// The common part of the seek and volume sliders: a horizontal QSlider with the Fusion style fixed,
// so that its channel and thumb rectangles are the same on every desktop, a round thumb drawn here,
// and a left-button drag that moves the thumb under the pointer. What a move sends is the
// subclass's.
#pragma once

#include <QColor>
#include <QPointer>
#include <QSlider>
#include <QStyle>

class QPainter;

class CFusionSlider : public QSlider {
  public:
    // Receiver of the slider's messages (the main window).
    void SetMessageTarget(QObject* receiver) { m_pTarget = receiver; }
    bool IsDragging() const { return m_bDragging != 0; }

    // The thumb rectangle of the style, in widget coordinates.
    QRect ThumbRect() const;

  protected:
    CFusionSlider(QWidget* parent, QColor thumb, QColor thumbPressed);

    QObject* MessageTarget() const { return m_pTarget; }
    QRect SubControlRect(QStyle::SubControl part) const;
    // The ellipse inscribed in the thumb rectangle, in the pressed colour while dragging.
    void PaintThumb(QPainter& painter) const;

    // Puts the thumb under the pointer as a move by code (nothing is sent).
    virtual void MoveToPointer(int x) = 0;
    // Called when the drag ends, before the final move is reported.
    virtual void OnDragReleased(int /*x*/) {}

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QColor m_crThumb;
    QColor m_crThumbPressed;
    int m_bDragging = 0;
    QPointer<QObject> m_pTarget;
};
