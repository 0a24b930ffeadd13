#include "FrameWatch.hpp"

#include "Connection.hpp"

#include <QWidget>

#include <cstdint>
#include <span>
#include <string_view>

namespace window::qt::x11 {
namespace {

std::optional<QMargins> announcedFrame(xcb_connection_t* connection, xcb_window_t window,
                                       xcb_atom_t extents) {
    const auto reply = propertyOf(connection, window, extents, XCB_ATOM_CARDINAL, 4);
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
    const auto reply = propertyOf(connection, root, check, XCB_ATOM_WINDOW, 1);
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

} // namespace

FrameWatch::FrameWatch()
    : m_frameExtents{askForAtom("_NET_FRAME_EXTENTS")}
    , m_windowManagerCheck{askForAtom("_NET_SUPPORTING_WM_CHECK")} {}

FrameWatch::~FrameWatch() {
    xcb_connection_t* connection = x11::connection();
    for (const Atom* atom : {&m_frameExtents, &m_windowManagerCheck}) {
        if (connection != nullptr && atom->cookie != 0 && !atom->answered) {
            xcb_discard_reply(connection, atom->cookie);
        }
    }
}

unsigned int FrameWatch::atomOf(Atom& atom) {
    if (!atom.answered && atom.cookie != 0) {
        atom.answered = true;
        const ReplyPtr<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection(), {atom.cookie}, nullptr));
        atom.atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return atom.atom;
}

std::optional<QMargins> FrameWatch::frameSettledBy(const QByteArray& eventType, void* message,
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

} // namespace window::qt::x11
