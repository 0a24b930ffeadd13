#include "SessionPlatform.hpp"

#include <QByteArray>

namespace app::qt {

// Qt itself picks Wayland wherever a Wayland display or session is announced.
bool prefersX11First() {
    const bool userChose = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool xServer = !qEnvironmentVariableIsEmpty("DISPLAY");
    const bool waylandSession =
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
    return !userChose && xServer && waylandSession;
}

} // namespace app::qt
