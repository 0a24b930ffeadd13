// Window-manager hints Qt has no flag for, sent straight to an X11 server. Elsewhere (Wayland,
// offscreen) these calls do nothing: those platforms have no such hint.
#pragma once

class QWidget;

namespace window {

// Marks the top-level window _NET_WM_STATE_SKIP_TASKBAR. Call it before the first show: Qt merges
// its own states into the property when it maps the window and keeps what is already there.
void keepOffTaskbar(QWidget& topLevel);

} // namespace window
