// The taskbar hints Qt has no flag for, sent straight to an X11 server. Elsewhere (Wayland,
// offscreen) these calls do nothing: those platforms have no such hint.
#pragma once

class QWidget;

namespace window::qt::x11 {

// Marks the top-level window _NET_WM_STATE_SKIP_TASKBAR. Call it before the first show: Qt merges
// its own states into the property when it maps the window and keeps what is already there.
void keepOffTaskbar(QWidget& topLevel);

// Asks the window manager to list the mapped or minimised native window on the taskbar, or to
// keep it off again. A window off the taskbar that a desktop minimises anyway (KWin's and
// openbox's Minimise, which no hint removes there) would otherwise have nothing left to click.
void listOnTaskbar(unsigned int nativeWindow, bool listed);

} // namespace window::qt::x11
