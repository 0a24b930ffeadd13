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

// The frame around the top-level window, in device pixels, once a native event of the window says
// it is settled: the sides the window manager announces in _NET_FRAME_EXTENTS, or no sides when
// the window is mapped and no window manager runs to frame it. Nothing for any other event. Qt's
// own figure can lag behind: it is read once, possibly before the frame exists.
[[nodiscard]] std::optional<QMargins> frameSettledBy(const QByteArray& eventType, void* message,
                                                     const QWidget& topLevel);

} // namespace window::qt
