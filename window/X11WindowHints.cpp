#include "X11WindowHints.hpp"

#include "X11Connection.hpp"

#include <QWidget>

namespace window {

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

} // namespace window
