#include "TaskbarHints.hpp"

#include "Connection.hpp"

#include <QWidget>

#include <array>
#include <cstring>
#include <optional>

namespace window::qt::x11 {
namespace {

struct TaskbarAtoms {
    xcb_connection_t* connection;
    xcb_atom_t state;
    xcb_atom_t skipTaskbar;
};

// The X connection and the two atoms both taskbar calls need; nothing off X11.
std::optional<TaskbarAtoms> taskbarAtoms() {
    xcb_connection_t* connection = x11::connection();
    if (connection == nullptr) {
        return std::nullopt;
    }
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    return TaskbarAtoms{connection, state, skipTaskbar};
}

} // namespace

void keepOffTaskbar(QWidget& topLevel) {
    const std::optional<TaskbarAtoms> atoms = taskbarAtoms();
    if (!atoms) {
        return;
    }
    const auto [connection, state, skipTaskbar] = *atoms;
    const auto window = static_cast<xcb_window_t>(topLevel.winId());
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, state, XCB_ATOM_ATOM, 32, 1,
                        &skipTaskbar);
    xcb_flush(connection);
}

// A change of state on a window the window manager already manages goes to it as a client message
// on the root (the EWMH's _NET_WM_STATE request): 0 removes the state, 1 adds it; 1 also says
// that the request comes from an application.
void listOnTaskbar(unsigned int nativeWindow, bool listed) {
    const std::optional<TaskbarAtoms> atoms = taskbarAtoms();
    if (!atoms || nativeWindow == XCB_WINDOW_NONE) {
        return;
    }
    const auto [connection, state, skipTaskbar] = *atoms;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = nativeWindow;
    request.type = state;
    request.data.data32[0] = listed ? 0 : 1;
    request.data.data32[1] = skipTaskbar;
    request.data.data32[3] = 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::array<char, sizeof request> bytes{};
    std::memcpy(bytes.data(), &request, sizeof request);
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   bytes.data());
    xcb_flush(connection);
}

} // namespace window::qt::x11
