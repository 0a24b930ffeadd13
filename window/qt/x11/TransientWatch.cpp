#include "TransientWatch.hpp"

#include "Connection.hpp"
#include "TaskbarHints.hpp"

#include <QCoreApplication>
#include <QRect>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

namespace window::qt::x11 {
namespace {

constexpr std::uint8_t kSentByAClient = 0x80;

std::span<const std::uint32_t> itemsOf(const ReplyPtr<xcb_get_property_reply_t>& reply) {
    if (!reply || reply->format != 32) {
        return {};
    }
    return {static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get())) / 4};
}

xcb_window_t rootOf(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The window's client area on the screen, in device pixels.
QRect clientOf(xcb_connection_t* connection, xcb_window_t window) {
    const ReplyPtr<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const ReplyPtr<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, rootOf(connection), 0, 0),
        nullptr));
    return size && origin ? QRect(origin->dst_x, origin->dst_y, size->width, size->height)
                          : QRect();
}

// The sides of the frame the window manager announces, or the given ones before it has.
QMargins frameSidesOf(xcb_connection_t* connection, xcb_window_t window, const QMargins& unknown) {
    const auto extents = propertyOf(
        connection, window, internAtom(connection, "_NET_FRAME_EXTENTS"), XCB_ATOM_CARDINAL, 4);
    const std::span<const std::uint32_t> sides = itemsOf(extents);
    if (sides.size() != 4) {
        return unknown;
    }
    // left, right, top, bottom
    return {static_cast<int>(sides[0]), static_cast<int>(sides[2]), static_cast<int>(sides[1]),
            static_cast<int>(sides[3])};
}

// The EWMH's _NET_MOVERESIZE_WINDOW from an application. With static gravity the position is the
// client area's own, which every window manager takes alike; Qt asks for static gravity for its
// windows anyway, and openbox keeps to a window's own gravity.
void moveClientTo(xcb_connection_t* connection, xcb_window_t window, QPoint topLeft) {
    constexpr std::uint32_t kStatic = 10;
    constexpr std::uint32_t kXAndY = (1U << 8) | (1U << 9);
    constexpr std::uint32_t kFromAnApplication = 1U << 12;
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = internAtom(connection, "_NET_MOVERESIZE_WINDOW");
    request.data.data32[0] = kStatic | kXAndY | kFromAnApplication;
    request.data.data32[1] = static_cast<std::uint32_t>(topLeft.x());
    request.data.data32[2] = static_cast<std::uint32_t>(topLeft.y());
    std::array<char, sizeof request> bytes{};
    std::memcpy(bytes.data(), &request, sizeof request);
    xcb_send_event(connection, 0, rootOf(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   bytes.data());
}

// Centred over the owner's frame, with its title bar on the screen. A window just taken on may
// not have its frame announced yet; it gets one like the owner's.
void centreOver(xcb_connection_t* connection, xcb_window_t owner, xcb_window_t window) {
    const QMargins ownerSides = frameSidesOf(connection, owner, {});
    const QRect ownerFrame = clientOf(connection, owner).marginsAdded(ownerSides);
    const QMargins sides = frameSidesOf(connection, window, ownerSides);
    QRect frame = clientOf(connection, window).marginsAdded(sides);
    if (ownerFrame.isEmpty() || frame.isEmpty()) {
        return;
    }
    frame.moveCenter(ownerFrame.center());
    const QPoint onScreen(std::max(frame.left(), 0), std::max(frame.top(), 0));
    moveClientTo(connection, window, onScreen + QPoint(sides.left(), sides.top()));
}

} // namespace

TransientWatch::TransientWatch(const QWidget& owner)
    : m_owner(owner) {
    xcb_connection_t* connection = x11::connection();
    if (connection != nullptr) {
        m_clientList = internAtom(connection, "_NET_CLIENT_LIST");
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

TransientWatch::~TransientWatch() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

// The window manager lists each window it takes on in the root's _NET_CLIENT_LIST, which Qt
// watches already.
bool TransientWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                       qintptr* /*result*/) {
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if (eventType == "xcb_generic_event_t" &&
        (event->response_type & ~kSentByAClient) == XCB_PROPERTY_NOTIFY &&
        static_cast<const xcb_property_notify_event_t*>(message)->atom == m_clientList) {
        placeNewTransients();
    }
    return false;
}

void TransientWatch::placeNewTransients() {
    xcb_connection_t* connection = x11::connection();
    const auto owner = static_cast<xcb_window_t>(m_owner.internalWinId());
    const auto clients =
        propertyOf(connection, rootOf(connection), m_clientList, XCB_ATOM_WINDOW, 1024);
    for (const xcb_window_t window : itemsOf(clients)) {
        const auto transientFor =
            propertyOf(connection, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 1);
        const std::span<const std::uint32_t> owners = itemsOf(transientFor);
        const bool ours = !owners.empty() && owners.front() == owner;
        if (!ours || std::find(m_placed.begin(), m_placed.end(), window) != m_placed.end()) {
            continue;
        }
        m_placed.push_back(window);
        listOnTaskbar(window, false);
        centreOver(connection, owner, window);
        xcb_flush(connection);
    }
}

} // namespace window::qt::x11
