// Keeps the video panes from going black between two recordings played one after the other: when
// the playing recording reaches its end, each shown pane holds the picture on the screen (its last
// frame); the next recording's first time report past 0 says its player draws, and the hold is
// dropped without a repaint (the new picture covers it). A stop, an end with nothing after it or a player
// error drops the hold and shows the background at once.
//
// Threading: UI thread only; everything happens in the session's signals.
#pragma once

#include <QObject>
#include <QPointer>

class CVideoStatic;
class PlaybackSession;

class CPanePictureHold : public QObject {
    Q_OBJECT
  public:
    // Connects to the session's signals. Make it before anything that opens the next recording from
    // `ended` is connected: the picture must be read before the players are stopped.
    CPanePictureHold(PlaybackSession& session, CVideoStatic* front, CVideoStatic* rear, QObject* parent = nullptr);

    bool Holding() const { return m_bHolding; }

  private:
    void Hold();
    void Release(bool repaintNow);

    QPointer<CVideoStatic> m_front;
    QPointer<CVideoStatic> m_rear;
    bool m_bHolding = false;
    // The next recording was given to the players since the hold began: its first report releases.
    bool m_bNextOpened = false;
};
