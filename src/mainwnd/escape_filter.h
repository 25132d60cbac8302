// Input filtering of the main window before dispatch, as an application event filter: Escape is
// swallowed for the window and every child, so it never closes or cancels anything (the window
// only leaves full-screen video on it), and key and mouse input is handed to the tool-tip control
// first.
#pragma once

#include <QObject>
#include <QPointF>

class COrvexMainWindow;

class CEscapeFilter : public QObject {
  public:
    explicit CEscapeFilter(COrvexMainWindow* window);

    // True when `receiver` is the window or one of its descendants.
    bool IsOwnWidget(const QObject* receiver) const;

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

  private:
    // An input event that a child ignored travels on to its parents and passes the filter again;
    // the tool tips see it once.
    bool IsRepeatOfLastRelayed(const QEvent* event);

    COrvexMainWindow* m_pWindow;
    int m_nLastType = 0;
    quint64 m_nLastTimestamp = 0;
    QPointF m_ptLastGlobal;
    int m_nLastKey = 0;
};

// The events that the tool-tip control sees: key-down, mouse moves and button presses and releases
// (double clicks are not among them).
bool IsToolTipRelayEvent(const QEvent* event);
