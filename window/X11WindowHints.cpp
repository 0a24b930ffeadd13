#include "X11WindowHints.hpp"

#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string_view>
#include <xcb/xcb.h>

namespace window {
namespace {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); } // NOLINT: xcb replies are malloc'ed
};

xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
    const std::unique_ptr<xcb_intern_atom_reply_t, FreeDeleter> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace

void keepOffTaskbar(QWidget& topLevel) {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) {
        return;
    }
    // The offscreen platform answers as X11 too, with no connection behind it.
    xcb_connection_t* connection = x11->connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) {
        return;
    }
    const auto window = static_cast<xcb_window_t>(topLevel.winId());
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskbar);
    xcb_flush(connection);
}

} // namespace window
