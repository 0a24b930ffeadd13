// Tells when another program takes one of our windows away on an X11 server: unmaps it without
// the window manager minimising it, or destroys it. Qt reports neither. What to do about the loss
// is the caller's; on other platforms the watch never fires.
#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>

class QWidget;

namespace window::qt::x11 {

class WindowLossWatch final : public QAbstractNativeEventFilter {
public:
    enum class Loss : std::uint8_t { Unmapped, Destroyed };
    using Handler = std::function<void(Loss)>;

    // Watches the widget's native window for as long as the watch lives; the widget must outlive
    // it. The handler runs inside event delivery: it should queue its work rather than do it.
    WindowLossWatch(const QWidget& window, Handler onLoss);
    WindowLossWatch(const WindowLossWatch&) = delete;
    WindowLossWatch& operator=(const WindowLossWatch&) = delete;
    WindowLossWatch(WindowLossWatch&&) = delete;
    WindowLossWatch& operator=(WindowLossWatch&&) = delete;
    ~WindowLossWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& m_window;
    Handler m_onLoss;
};

} // namespace window::qt::x11
