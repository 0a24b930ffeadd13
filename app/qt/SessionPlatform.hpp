// Which windowing system the program asks Qt for. In a Wayland session that also runs an X server
// (XWayland, as nearly all do), X comes first: there the window can centre itself and keep off
// the taskbar, which Wayland lets no client do. A platform the user names in QT_QPA_PLATFORM wins.
#pragma once

namespace app::qt {

// Whether to hand Qt "-platform xcb;wayland": X first, Wayland still there should the X server
// not answer. Otherwise the choice is Qt's, or the user's.
[[nodiscard]] bool prefersX11First();

} // namespace app::qt
