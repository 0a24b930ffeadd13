#include "StartupGuard.hpp"

#include <QByteArray>
#include <QByteArrayList>
#include <QRegularExpression>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace app::qt {
namespace {

QByteArray quoted(const QByteArray& text) {
    return '"' + text + '"';
}

// The display the platform would have used, named the way the user set it.
QByteArray displayOf(const QByteArray& platform) {
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    const bool wantsWayland =
        platform.startsWith("wayland") || (platform.isEmpty() && !wayland.isEmpty());
    if (wantsWayland) {
        return "the Wayland display " + quoted(wayland.isEmpty() ? "wayland-0" : wayland);
    }
    return "the X display " + quoted(qgetenv("DISPLAY"));
}

// Qt's fatal message ends with the platform plugins it found: "Available platform plugins are:
// a, b, c."
bool isInstalled(const QByteArray& plugin, const QString& qtMessage) {
    static const QRegularExpression kAvailable(
        QStringLiteral("Available platform plugins are: ([^.]*)\\."));
    const QStringList names = kAvailable.match(qtMessage).captured(1).split(QStringLiteral(", "));
    return names.contains(QString::fromLatin1(plugin));
}

// One line saying what failed. A platform named in QT_QPA_PLATFORM ("name" or "name:options")
// is the user's choice, so the line names it; otherwise Qt picked one for the display that is set.
QByteArray describeFailure(const QString& qtMessage) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const QByteArray plugin = platform.split(':').constFirst();
    if (platform.isEmpty()) {
        return displayOf(platform) + " did not answer; is the desktop session running?";
    }
    const QByteArray named = "the platform plugin " + quoted(plugin) + " set in QT_QPA_PLATFORM";
    if (platform.contains(';')) {
        return "none of the platform plugins " + quoted(platform) +
               " set in QT_QPA_PLATFORM could start";
    }
    if (!isInstalled(plugin, qtMessage) && qtMessage.contains(QStringLiteral("Available"))) {
        return named + " is not installed";
    }
    if (plugin.startsWith("wayland") || plugin == "xcb") {
        return named + " could not start: " + displayOf(plugin) + " did not answer";
    }
    return named + " could not start: " + qtMessage.section(QLatin1Char('\n'), 0, 0).toLocal8Bit();
}

// The X server went away. Qt says so in one line and then leaves through Xlib's own three-line
// report or through exit(), whose clean-up of Qt's globals under a still standing application
// object leaves fontconfig's data unreachable; with no display there is nothing to tear down.
bool isLostConnection(const QString& message) {
    return message.startsWith(QStringLiteral("The X11 connection broke"));
}

[[noreturn]] void endForLostConnection(const QString& message) {
    static_cast<void>(std::fprintf(stderr, "%s\n", qPrintable(message)));
    std::_Exit(1);
}

// Qt's handlers are plain functions, so these keep no state: they decide from the message.
// Until the window stands, everything but a fatal message is the platform's own account of
// connecting (or of a fallback it tried first); the one line below says what matters plainly.
void handleStartupMessage(QtMsgType type, const QMessageLogContext& /*context*/,
                          const QString& message) {
    if (isLostConnection(message)) {
        endForLostConnection(message);
    }
    if (type != QtFatalMsg) {
        return;
    }
    static_cast<void>(std::fprintf(stderr, "quillmarch-color-converter: %s\n",
                                   describeFailure(message).constData()));
    // Out at once: the application object is half built and must not be torn down.
    std::_Exit(1);
}

// Once the window stands, messages read as Qt's own handler would print them.
void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (isLostConnection(message)) {
        endForLostConnection(message);
    }
    static_cast<void>(
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message))));
}

} // namespace

StartupGuard::StartupGuard() {
    qInstallMessageHandler(handleStartupMessage);
}

StartupGuard::~StartupGuard() {
    qInstallMessageHandler(handleMessage);
}

} // namespace app::qt
