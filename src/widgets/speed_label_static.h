// The GPS speed label (km/h or MPH, the user switches by clicking) and the playback-speed label
// of the top bar. Both draw glowing text on the near-black background of the other widgets.
#pragma once

#include "glow_text.h"

#include <QString>
#include <QWidget>

#include <cstdint>

// The label's texts, by the rule every speed display shares (speed_text.h).
QString SpeedValueText(uint16_t speedKmh, bool kmh);
// "Km/h" or "MPH".
QString SpeedUnitText(bool kmh);

class CSpeedLabelStatic : public QWidget {
    Q_OBJECT
  public:
    explicit CSpeedLabelStatic(QWidget* parent = nullptr);

    // Rebuilds m_strValue and m_strUnit from m_nSpeed and m_bKmh. Returns 1.
    int UpdateTexts();
    // Switches between km/h and MPH and repaints (a click, or a double click passed on by the
    // main window).
    void ToggleUnit();

    // Set by the callers, followed by UpdateTexts and a repaint.
    int m_bKmh = 1;        // 1 km/h, 0 MPH; never stored in the settings
    int m_bValid = 1;      // 0: only the background is drawn
    uint16_t m_nSpeed = 0; // km/h of the current fix
    QString m_strValue;
    QString m_strUnit;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void SyncAccessibleText();

    GlowTextCache m_glow;
};

class CPbSpeedLabelStatic : public QWidget {
    Q_OBJECT
  public:
    explicit CPbSpeedLabelStatic(QWidget* parent = nullptr);

    // Stores the ASCII text (nullptr: empty) and whether it is shown, then repaints. Returns 1.
    int SetLabel(const char* text, int show);

    QString m_strText;
    int m_bShow = 1;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    GlowTextCache m_glow{32};
};

// The near-black background both labels clear to before drawing.
void PaintLabelBackground(QPainter& painter, const QRect& rect);
