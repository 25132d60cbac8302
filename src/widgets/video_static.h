// The video panes. CVideoStatic is the native window libVLC renders into; while the program is
// busy (a folder scan) it shows a caption such as "Loading..." in blue glowing letters. Between two
// players (the end of one recording and the first picture of the next) it can hold the picture that
// was on the screen, so the pane does not go black while the next player starts.
// CVideoStaticBg is the frame behind a pane: it draws nothing. A double click on either asks the
// main window for full-screen video (message 0x0C04, sent).
#pragma once

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class CVideoStatic : public QWidget {
    Q_OBJECT
  public:
    explicit CVideoStatic(QWidget* parent = nullptr);

    // Receiver of MSG_TOGGLE_FULL_VIDEO on a double click (the main window).
    void SetMessageTarget(QObject* target) { m_target = target; }

    // Sets the caption and whether it shows, and repaints at once (the caller is busy after this).
    void SetCaption(const QString& caption, bool show);

    // Takes what the pane shows on the screen now (the player's last picture) and paints it in place
    // of the background until ReleaseHeldPicture. False, holding nothing, when the screen could not
    // be read (no native window, a platform without screen reading). Waits for one screen read.
    bool HoldPicture();
    // Holds the given picture (scaled to the pane when painted); a null one releases.
    void HoldPicture(const QPixmap& picture);
    // Drops the held picture. Without repaint nothing is drawn now: the next player's picture covers
    // the pane anyway, and drawing the background first would flash it. With repaint the pane shows
    // its background at once (no next player comes).
    void ReleaseHeldPicture(bool repaintNow);
    bool HoldsPicture() const { return !m_held.isNull(); }

    // Read by the painting; a caller that sets them directly calls repaint() afterwards.
    QColor m_brBack{5, 5, 5};
    int m_bShowCaption = 0;
    QString m_strCaption;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QPointer<QObject> m_target;
    QPixmap m_held;
};

class CVideoStaticBg : public QWidget {
    Q_OBJECT
  public:
    explicit CVideoStaticBg(QWidget* parent = nullptr);

    // Receiver of MSG_TOGGLE_FULL_VIDEO on a double click (the main window).
    void SetMessageTarget(QObject* target) { m_target = target; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QPointer<QObject> m_target;
};
