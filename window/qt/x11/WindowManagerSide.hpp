// What a window manager does to the converter window that Qt neither prevents nor reports, and
// the window's answer to it: the window stands centred once the frame it got is known, and a
// window minimised anyway shows on the taskbar until it is back. Form1 hands it the events; off
// X11 only the centring at the first show happens.
#pragma once

#include "FrameWatch.hpp"

#include <QByteArray>
#include <QMarginsF>

class QShowEvent;
class QWidget;

namespace window::qt::x11 {

class WindowManagerSide {
public:
    // The window must outlive this object.
    explicit WindowManagerSide(QWidget& window)
        : m_window(window) {}
    WindowManagerSide(const WindowManagerSide&) = delete;
    WindowManagerSide& operator=(const WindowManagerSide&) = delete;
    WindowManagerSide(WindowManagerSide&&) = delete;
    WindowManagerSide& operator=(WindowManagerSide&&) = delete;
    ~WindowManagerSide() = default;

    void shown(const QShowEvent& event);
    void stateChanged();
    void nativeEvent(const QByteArray& eventType, void* message);

private:
    void placeFrameInTheMiddle(const QMarginsF& frameSides);

    QWidget& m_window;
    FrameWatch m_frameWatch;
    bool m_shownOnce = false;
    bool m_onTaskbar = false; // while minimised
    bool m_frameCentred = false;
};

} // namespace window::qt::x11
