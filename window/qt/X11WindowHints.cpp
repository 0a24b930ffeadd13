#include "X11WindowHints.hpp"

#include "X11Connection.hpp"

#include <QWidget>

#include <cstdint>
#include <span>

namespace window::qt {

void keepOffTaskbar(QWidget& topLevel) {
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr) {
        return;
    }
    const xcb_atom_t state = x11::internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = x11::internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) {
        return;
    }
    const auto window = static_cast<xcb_window_t>(topLevel.winId());
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskbar);
    xcb_flush(connection);
}

QMargins announcedFrame(const QWidget& topLevel) {
    xcb_connection_t* connection = x11::connection();
    const auto window = static_cast<xcb_window_t>(topLevel.internalWinId());
    if (connection == nullptr || window == XCB_WINDOW_NONE) {
        return {};
    }
    const xcb_atom_t extents = x11::internAtom(connection, "_NET_FRAME_EXTENTS");
    const x11::ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) != 4 * sizeof(std::uint32_t)) {
        return {};
    }
    // left, right, top, bottom
    const std::span<const std::uint32_t, 4> sides(
        static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())), 4);
    return {static_cast<int>(sides[0]), static_cast<int>(sides[2]), static_cast<int>(sides[1]),
            static_cast<int>(sides[3])};
}

} // namespace window::qt
