#include "StartupGuard.hpp"

#include <QByteArrayView>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace app {
namespace {

QByteArray desktopName() {
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return "the Wayland display \"" + qgetenv("WAYLAND_DISPLAY") + '"';
    }
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        return "the X display \"" + qgetenv("DISPLAY") + '"';
    }
    return "the desktop";
}

// Qt's handler is a plain function, so this one keeps no state: it decides from the message.
void handleStartupMessage(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
    if (type == QtFatalMsg) {
        static_cast<void>(std::fprintf(
            stderr,
            "quillmarch-color-converter: cannot open a window on %s; is the desktop session "
            "running?\n",
            desktopName().constData()));
        // Out at once: the application object is half built and must not be torn down.
        std::_Exit(1);
    }
    if (QByteArrayView(context.category).startsWith("qt.qpa")) {
        return; // the platform's own account of the failure; the line above says it plainly
    }
    static_cast<void>(
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message))));
}

} // namespace

StartupGuard::StartupGuard()
    : m_previous(qInstallMessageHandler(handleStartupMessage)) {}

StartupGuard::~StartupGuard() {
    qInstallMessageHandler(m_previous);
}

} // namespace app
