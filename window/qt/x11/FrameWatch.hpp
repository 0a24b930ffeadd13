// The window manager's word on the frame it put around a window, read on an X11 server. Elsewhere
// (Wayland, offscreen) the watch never answers: those platforms say nothing of frames.
#pragma once

#include <QByteArray>
#include <QMargins>

#include <optional>

class QWidget;

namespace window::qt::x11 {

// The frame around the top-level window, in device pixels, once a native event of the window says
// it is settled: the sides the window manager announces in _NET_FRAME_EXTENTS, or no sides when
// the window is mapped and no window manager runs to frame it. Qt's own figure can lag behind: it
// is read once, possibly before the frame exists. The atoms are asked for when the watch is made
// and their answers read when first needed, so that the window's own events before it is mapped
// cost no round trip to the server.
class FrameWatch {
public:
    FrameWatch();
    FrameWatch(const FrameWatch&) = delete;
    FrameWatch& operator=(const FrameWatch&) = delete;
    FrameWatch(FrameWatch&&) = delete;
    FrameWatch& operator=(FrameWatch&&) = delete;
    ~FrameWatch();

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

} // namespace window::qt::x11
