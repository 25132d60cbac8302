// The vehicle gauges of the bottom row: a caption over a value text, over a 41-segment steering
// bar, over two turn arrows; and the look-down G-force gauge (two rings, a cross and a dot).
// The geometry lives in plain functions so that it can be checked without a display.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

// ---- geometry (Windows rectangles: right and bottom exclusive, as QRect(left, top, w, h)) ----

// Rows of the caption and the value, centred as one block in the rectangle inside the frame.
struct PropertyTextLayout {
    QRect inner;
    QRect caption;
    QRect value;
};
PropertyTextLayout PropertyTextGeometry(const QRect& item, int borderWidth, int captionHeight,
                                        int valueHeight);

constexpr int kSteeringSegments = 41;
constexpr int kSteeringCentre = 20;

struct SteeringBarLayout {
    int segmentWidth = 0; // 0 or less: the bar does not fit and is not drawn
    int x0 = 0;           // left of segment 0
    int top = 0;
    int bottom = 0;
    QRect leftLabel;  // "L"
    QRect rightLabel; // "R"
    QRect Segment(int i) const;
};
SteeringBarLayout SteeringBarGeometry(const QRect& inner);
// Whether segment i (0..40) is lit for a turn of `percent` (0..100) to the right or left.
bool SteeringSegmentLit(int i, int percent, bool right);

struct TurnArrowsLayout {
    QRect leftBody;
    QPolygon leftHead;
    QRect rightBody;
    QPolygon rightHead;
};
// `captionWidth` is the width of the caption text in the caption font.
TurnArrowsLayout TurnArrowsGeometry(const QRect& inner, int captionWidth);
bool LeftArrowLit(int state);
bool RightArrowLit(int state);

struct LookDownLayout {
    QPoint centre;
    int outerRadius = 0; // 2 G
    int innerRadius = 0; // 1 G
    QPoint outerLabel;   // top left of "2G"
    QPoint innerLabel;   // top left of "1G"
    QPoint dot;
};
LookDownLayout LookDownGeometry(const QRect& inner, double horizontal, double vertical);

// ---- widgets ----

// A caption over a value text, framed. The main window sets the members and repaints.
class CPropertyText : public QWidget {
    Q_OBJECT
  public:
    explicit CPropertyText(QWidget* parent = nullptr);

    // Repaints and tells assistive technology the new text (call after changing the members).
    void Refresh();

    QString m_strCaption;
    std::unique_ptr<QFont> m_pCaptionFont;
    QColor m_crCaption{255, 255, 255};
    int m_nCaptionHeight = 0; // set by each drawing
    QString m_strValue;
    std::unique_ptr<QFont> m_pValueFont; // null: the caption font
    QColor m_crValue{0, 255, 0};
    int m_nValueHeight = 0; // set by each drawing
    QColor m_crBack{0, 0, 0};
    QColor m_crBorder{128, 128, 128};
    int m_nBorderWidth = 2;

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Frame, caption and (when `withValue`) the value line; returns the inner rectangle.
    QRect PaintFrame(QPainter& painter, bool withValue);
    // What assistive technology reads besides the caption.
    virtual QString SpokenValue() const;
    void SyncAccessibleText();

  private:
    QString m_strSpokenCaption; // the caption last given as the accessible name
};

// A caption over the 41-segment steering bar, or over "Invalid Data" when unavailable.
class CPropertySteeringAngle : public CPropertyText {
    Q_OBJECT
  public:
    explicit CPropertySteeringAngle(QWidget* parent = nullptr);

    int m_nValue = 0; // percent 0..100, -1 unavailable
    int m_bRight = 0; // 1 turned right, 0 left or straight

  protected:
    void paintEvent(QPaintEvent* event) override;
    QString SpokenValue() const override;
};

// A caption over the two turn arrows, or over "Invalid Data" when unavailable.
class CPropertyTurnSignal : public CPropertyText {
    Q_OBJECT
  public:
    explicit CPropertyTurnSignal(QWidget* parent = nullptr);

    int m_nState = 0; // -1 unavailable, 0 dark, 1 left lit, 2 right lit, 3 both lit

  protected:
    void paintEvent(QPaintEvent* event) override;
    QString SpokenValue() const override;
};

// The horizontal G-force seen from above: rings at 1 G and 2 G, a dot at the values.
class CPropertyGsensorLookDown : public QWidget {
    Q_OBJECT
  public:
    explicit CPropertyGsensorLookDown(QWidget* parent = nullptr);

    // Stores both values, repaints and tells assistive technology.
    void SetValues(double horizontal, double vertical);

    double m_dHorizontal = 0;
    double m_dVertical = 0;
    QColor m_crBack{0, 0, 0};
    QColor m_crBorder{128, 128, 128};
    int m_nBorderWidth = 2;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void SyncAccessibleText();
};
