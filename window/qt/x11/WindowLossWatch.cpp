#include "WindowLossWatch.hpp"

#include "Connection.hpp"

#include <QCoreApplication>
#include <QWidget>

#include <utility>

namespace window::qt::x11 {
namespace {

constexpr std::uint8_t kSentByAClient = 0x80;
constexpr std::uint32_t kIconicState = 3; // ICCCM WM_STATE

bool isIconic(xcb_window_t window) {
    xcb_connection_t* connection = x11::connection();
    const xcb_atom_t wmState = internAtom(connection, "WM_STATE");
    if (wmState == XCB_ATOM_NONE) {
        return false;
    }
    const auto state = propertyOf(connection, window, wmState, wmState, 1);
    if (!state || xcb_get_property_value_length(state.get()) < 4) {
        return false;
    }
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(state.get())) == kIconicState;
}

} // namespace

WindowLossWatch::WindowLossWatch(const QWidget& window, Handler onLoss)
    : m_window(window)
    , m_onLoss(std::move(onLoss)) {
    if (connection() != nullptr) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

WindowLossWatch::~WindowLossWatch() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowLossWatch::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    // The native window is looked up each time: Qt may have made a new one since.
    const auto window = static_cast<xcb_window_t>(m_window.internalWinId());
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & ~kSentByAClient) {
    case XCB_DESTROY_NOTIFY:
        if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == window) {
            m_onLoss(Loss::Destroyed);
        }
        break;
    case XCB_UNMAP_NOTIFY:
        // A window manager that minimises a window, or hides it with its desktop, marks it
        // iconic before it unmaps it; any other unmap of a shown window is a loss.
        if (static_cast<const xcb_unmap_notify_event_t*>(message)->window == window &&
            m_window.isVisible() && !isIconic(window)) {
            m_onLoss(Loss::Unmapped);
        }
        break;
    default:
        break;
    }
    return false; // Qt still handles the event as usual
}

} // namespace window::qt::x11
