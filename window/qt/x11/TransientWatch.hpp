// Keeps the windows opened over ours (the colour chooser, Qt's own or the GTK one that Qt's GTK
// integration hands to GTK) off the taskbar and centred over the owner's frame each time the
// window manager takes them on. GTK sets no taskbar hint (icewm gave its chooser a button) and
// reopened its chooser where it had stood at another size; Qt centres its own by the client areas,
// a title bar's height above the middle. Watches while it lives; only on an X11 server.
#pragma once

#include <QAbstractNativeEventFilter>

#include <vector>

class QWidget;

namespace window::qt::x11 {

class TransientWatch final : public QAbstractNativeEventFilter {
public:
    // The owner must outlive the watch.
    explicit TransientWatch(const QWidget& owner);
    TransientWatch(const TransientWatch&) = delete;
    TransientWatch& operator=(const TransientWatch&) = delete;
    TransientWatch(TransientWatch&&) = delete;
    TransientWatch& operator=(TransientWatch&&) = delete;
    ~TransientWatch() override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void placeNewTransients();

    const QWidget& m_owner;
    unsigned int m_clientList = 0;
    std::vector<unsigned int> m_placed;
};

} // namespace window::qt::x11
