// Private window messages between the parts of the viewer, carried as Qt events whose type is
// the message number (all of them lie in Qt's user event range). Posting is thread-safe, so
// libVLC callbacks post these from the engine's threads.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <cstdint>

enum PrivateMessageId : int {
    MSG_PLAYER_ERROR = 0x0C01,
    MSG_LANGUAGE_CHANGED = 0x0C02,
    MSG_NOTHING_0C03 = 0x0C03,
    MSG_TOGGLE_FULL_VIDEO = 0x0C04,
    MSG_SHOW_CONTROLS = 0x0C05,
    MSG_PLAYER_STATE = 0x0C06,
    MSG_PLAYER_TIME = 0x0C07,
    MSG_PLAYER_END = 0x0C08,
    MSG_GROUP_CHOSEN = 0x0C09,
    MSG_FILE_CHOSEN = 0x0C0A,
    MSG_MAP_CHANGED = 0x0C0B,
    MSG_VOLUME_CHANGED = 0x0C0C,
    MSG_SEEK_REQUEST = 0x0C0D,
    MSG_REAR_END = 0x0C0E,
    MSG_MAP_NOTIFY = 0x04C8, // the old WM_USER + 200
};

static_assert(int(QEvent::User) <= int(MSG_MAP_NOTIFY) && int(MSG_REAR_END) <= int(QEvent::MaxUser));

class PrivateMessage : public QEvent {
public:
    PrivateMessage(int message, uintptr_t wParam, intptr_t lParam = 0)
        : QEvent(static_cast<QEvent::Type>(message)), m_wParam(wParam), m_lParam(lParam) {}
    int message() const { return static_cast<int>(type()); }
    uintptr_t wParam() const { return m_wParam; }
    intptr_t lParam() const { return m_lParam; }

private:
    uintptr_t m_wParam;
    intptr_t m_lParam;
};

inline bool IsPrivateMessage(const QEvent* event, int message) { return event->type() == message; }

// PostMessage: queued, usable from any thread; the event loop owns and frees the event.
inline void PostPrivateMessage(QObject* receiver, int message, uintptr_t wParam, intptr_t lParam = 0) {
    if (receiver)
        QCoreApplication::postEvent(receiver, new PrivateMessage(message, wParam, lParam));
}

// SendMessage: delivered at once on the calling (UI) thread.
inline bool SendPrivateMessage(QObject* receiver, int message, uintptr_t wParam, intptr_t lParam = 0) {
    if (!receiver)
        return false;
    PrivateMessage event(message, wParam, lParam);
    return QCoreApplication::sendEvent(receiver, &event);
}
