#include "WindowManagerSide.hpp"

#include "TaskbarHints.hpp"

#include <QMetaObject>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace window::qt::x11 {
namespace {

QMarginsF frameSidesKnownToQt(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    return {qreal(client.left() - frame.left()), qreal(client.top() - frame.top()),
            qreal(frame.right() - client.right()), qreal(frame.bottom() - client.bottom())};
}

} // namespace

// Before the first show the frame is not known yet: the window stands centred as if it had none,
// and moves once the window manager says what frame it got.
void WindowManagerSide::shown(const QShowEvent& event) {
    if (!m_shownOnce && !event.spontaneous()) {
        m_shownOnce = true;
        placeFrameInTheMiddle(frameSidesKnownToQt(m_window));
    }
}

// A window manager may minimise the window although it asks for no Minimise: minimised, it shows
// on the taskbar until it is back.
void WindowManagerSide::stateChanged() {
    const bool minimised = m_window.isMinimized();
    if (minimised != m_onTaskbar) {
        m_onTaskbar = minimised;
        listOnTaskbar(static_cast<unsigned int>(m_window.winId()), minimised);
    }
}

// The window manager frames the window at its own pace, after the first paint as often as not,
// and announces it with nothing Qt passes on. Centring waits for that announcement, or for the
// window being mapped where no window manager runs, and happens once. Queued, so that the move
// never comes in the middle of Qt's own handling of the message.
void WindowManagerSide::nativeEvent(const QByteArray& eventType, void* message) {
    if (m_frameCentred) {
        return;
    }
    if (const std::optional<QMargins> sides =
            m_frameWatch.frameSettledBy(eventType, message, m_window)) {
        m_frameCentred = true;
        // The window manager counts in device pixels.
        const QMarginsF logical = QMarginsF(*sides) / m_window.devicePixelRatioF();
        QMetaObject::invokeMethod(
            &m_window, [this, logical] { placeFrameInTheMiddle(logical); }, Qt::QueuedConnection);
    }
}

// Centres the frame, given its sides, by placing the client area: Qt's idea of the frame may be
// stale, so it is left out of the move. A frame larger than the screen keeps its title bar and
// close box on it.
void WindowManagerSide::placeFrameInTheMiddle(const QMarginsF& frameSides) {
    const QScreen* display = m_window.screen();
    if (display == nullptr) {
        return;
    }
    const QRectF available(display->availableGeometry());
    QRectF frame = QRectF(m_window.geometry()).marginsAdded(frameSides);
    frame.moveCenter(available.center());
    frame.moveLeft(std::max(frame.left(), available.left()));
    frame.moveTop(std::max(frame.top(), available.top()));
    const QPointF client = frame.topLeft() + QPointF(frameSides.left(), frameSides.top());
    m_window.setGeometry(QRect(client.toPoint(), m_window.size()));
}

} // namespace window::qt::x11
