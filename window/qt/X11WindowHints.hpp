// Window-manager hints Qt has no flag for, sent straight to an X11 server, and the window
// manager's word on the frame it put around the window. Elsewhere (Wayland, offscreen) these calls
// do nothing: those platforms have no such hint.
#pragma once

#include <QByteArray>
#include <QMargins>

#include <optional>

class QWidget;

namespace window::qt {

// Marks the top-level window _NET_WM_STATE_SKIP_TASKBAR. Call it before the first show: Qt merges
// its own states into the property when it maps the window and keeps what is already there.
void keepOffTaskbar(QWidget& topLevel);

// Asks the window manager to list the mapped or minimised top-level window on the taskbar, or to
// keep it off again. A window off the taskbar that a desktop minimises anyway (KWin's and
// openbox's Minimise, which no hint removes there) would otherwise have nothing left to click.
void listOnTaskbar(const QWidget& topLevel, bool listed);

// The frame around the top-level window, in device pixels, once a native event of the window says
// it is settled: the sides the window manager announces in _NET_FRAME_EXTENTS, or no sides when
// the window is mapped and no window manager runs to frame it. Qt's own figure can lag behind: it
// is read once, possibly before the frame exists. The atoms are asked for when the watch is made
// and their answers read when first needed, so that the window's own events before it is mapped
// cost no round trip to the server.
class X11FrameWatch {
public:
    X11FrameWatch();
    X11FrameWatch(const X11FrameWatch&) = delete;
    X11FrameWatch& operator=(const X11FrameWatch&) = delete;
    X11FrameWatch(X11FrameWatch&&) = delete;
    X11FrameWatch& operator=(X11FrameWatch&&) = delete;
    ~X11FrameWatch();

    // Nothing for any other event, or off X11.
    [[nodiscard]] std::optional<QMargins> frameSettledBy(const QByteArray& eventType, void* message,
                                                         const QWidget& topLevel);

private:
    struct Atom {
        unsigned int cookie = 0;
        unsigned int atom = 0;
        bool answered = false;
    };
    static unsigned int atomOf(Atom& atom);

    Atom m_frameExtents;
    Atom m_windowManagerCheck;
};

} // namespace window::qt
