#include "X11WindowHints.hpp"

#include "X11Connection.hpp"

#include <QWidget>

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace window::qt {
namespace {

std::optional<QMargins> announcedFrame(xcb_connection_t* connection, xcb_window_t window,
                                       xcb_atom_t extents) {
    const auto reply = x11::propertyOf(connection, window, extents, XCB_ATOM_CARDINAL, 4);
    if (!reply || xcb_get_property_value_length(reply.get()) != 4 * sizeof(std::uint32_t)) {
        return std::nullopt;
    }
    // left, right, top, bottom
    const std::span<const std::uint32_t, 4> sides(
        static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())), 4);
    return QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]),
                    static_cast<int>(sides[1]), static_cast<int>(sides[3]));
}

bool windowManagerRuns(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t check) {
    const auto reply = x11::propertyOf(connection, root, check, XCB_ATOM_WINDOW, 1);
    return reply && xcb_get_property_value_length(reply.get()) > 0;
}

unsigned int askForAtom(std::string_view name) {
    xcb_connection_t* connection = x11::connection();
    return connection == nullptr
               ? 0U
               : xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()),
                                 name.data())
                     .sequence;
}

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
    const xcb_atom_t state = x11::internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t skipTaskbar = x11::internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
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
void listOnTaskbar(const QWidget& topLevel, bool listed) {
    const std::optional<TaskbarAtoms> atoms = taskbarAtoms();
    if (!atoms) {
        return;
    }
    const auto [connection, state, skipTaskbar] = *atoms;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(topLevel.winId());
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

X11FrameWatch::X11FrameWatch()
    : m_frameExtents{askForAtom("_NET_FRAME_EXTENTS")}
    , m_windowManagerCheck{askForAtom("_NET_SUPPORTING_WM_CHECK")} {}

X11FrameWatch::~X11FrameWatch() {
    xcb_connection_t* connection = x11::connection();
    for (const Atom* atom : {&m_frameExtents, &m_windowManagerCheck}) {
        if (connection != nullptr && atom->cookie != 0 && !atom->answered) {
            xcb_discard_reply(connection, atom->cookie);
        }
    }
}

unsigned int X11FrameWatch::atomOf(Atom& atom) {
    if (!atom.answered && atom.cookie != 0) {
        atom.answered = true;
        const x11::ReplyPtr<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(x11::connection(), {atom.cookie}, nullptr));
        atom.atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atom.atom;
}

std::optional<QMargins> X11FrameWatch::frameSettledBy(const QByteArray& eventType, void* message,
                                                      const QWidget& topLevel) {
    xcb_connection_t* connection = x11::connection();
    const auto window = static_cast<xcb_window_t>(topLevel.internalWinId());
    if (connection == nullptr || window == XCB_WINDOW_NONE || eventType != "xcb_generic_event_t") {
        return std::nullopt;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & 0x7F) {
    case XCB_PROPERTY_NOTIFY: {
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->window != window || change->atom != atomOf(m_frameExtents)) {
            return std::nullopt;
        }
        return announcedFrame(connection, window, change->atom);
    }
    case XCB_MAP_NOTIFY: {
        const auto* map = static_cast<const xcb_map_notify_event_t*>(message);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        if (map->window != window || screen == nullptr ||
            windowManagerRuns(connection, screen->root, atomOf(m_windowManagerCheck))) {
            return std::nullopt;
        }
        return QMargins();
    }
    default:
        return std::nullopt;
    }
}

} // namespace window::qt
