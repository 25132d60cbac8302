// The video panes. CVideoStatic is the native window libVLC renders into; while the program is
// busy (a folder scan) it shows a caption such as "Loading..." in blue glowing letters.
// CVideoStaticBg is the frame behind a pane: it draws nothing. A double click on either asks the
// main window for full-screen video (message 0x0C04, sent).
#pragma once

#include <QColor>
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
