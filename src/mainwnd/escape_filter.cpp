#include "escape_filter.h"

#include "main_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

CEscapeFilter::CEscapeFilter(COrvexMainWindow* window) : QObject(window), m_pWindow(window) {}

bool CEscapeFilter::IsOwnWidget(const QObject* receiver) const {
    const auto* widget = qobject_cast<const QWidget*>(receiver);
    return widget && (widget == m_pWindow || m_pWindow->isAncestorOf(widget));
}

bool IsToolTipRelayEvent(const QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

bool CEscapeFilter::eventFilter(QObject* receiver, QEvent* event) {
    if (!IsOwnWidget(receiver)) return false;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_pWindow->OnEscapeKey();
        return true;
    }
    // A shortcut override for Escape would let a child's own Escape handling run: refuse it too.
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        return true;
    if (IsToolTipRelayEvent(event) && !IsRepeatOfLastRelayed(event))
        m_pWindow->RelayEventToToolTip(receiver, event);
    return false;
}

bool CEscapeFilter::IsRepeatOfLastRelayed(const QEvent* event) {
    const auto* input = static_cast<const QInputEvent*>(event);
    QPointF global;
    int key = 0;
    if (event->type() == QEvent::KeyPress)
        key = static_cast<const QKeyEvent*>(event)->key();
    else
        global = static_cast<const QMouseEvent*>(event)->globalPosition();
    const bool repeat = m_nLastType == event->type() && m_nLastTimestamp == input->timestamp() &&
                        m_ptLastGlobal == global && m_nLastKey == key;
    m_nLastType = event->type();
    m_nLastTimestamp = input->timestamp();
    m_ptLastGlobal = global;
    m_nLastKey = key;
    return repeat;
}
