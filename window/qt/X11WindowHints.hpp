// Window-manager hints Qt has no flag for, sent straight to an X11 server. Elsewhere (Wayland,
// offscreen) these calls do nothing: those platforms have no such hint.
#pragma once

#include <QMargins>

class QWidget;

namespace window::qt {

// Marks the top-level window _NET_WM_STATE_SKIP_TASKBAR. Call it before the first show: Qt merges
// its own states into the property when it maps the window and keeps what is already there.
void keepOffTaskbar(QWidget& topLevel);

// The frame the window manager has put around the top-level window, as it announces it in
// _NET_FRAME_EXTENTS. Qt's own figure can lag behind: it is read once, possibly before the frame
// exists, and not again until the window is moved. Null where there is no such announcement.
[[nodiscard]] QMargins announcedFrame(const QWidget& topLevel);

} // namespace window::qt
