// The few xcb helpers the X11 hints and watches share: the application's connection, replies
// freed by RAII, atoms by name and window properties. Only meaningful on an X11 server; elsewhere
// the connection is null and callers do nothing.
#pragma once

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <xcb/xcb.h>

namespace window::qt::x11 {

struct FreeDeleter {
    void operator()(void* reply) const { std::free(reply); } // NOLINT: xcb replies are malloc'ed
};

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

// Null on Wayland, and on the offscreen platform, which answers as X11 with no connection.
inline xcb_connection_t* connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

inline xcb_atom_t internAtom(xcb_connection_t* connection, std::string_view name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data());
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Up to length 32-bit items of the window's property; null where the server has none to give.
inline ReplyPtr<xcb_get_property_reply_t> propertyOf(xcb_connection_t* connection,
                                                     xcb_window_t window, xcb_atom_t property,
                                                     xcb_atom_t type, std::uint32_t length) {
    return ReplyPtr<xcb_get_property_reply_t>(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, length), nullptr));
}

} // namespace window::qt::x11
