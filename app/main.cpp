// Start-up and shut-down: checks that there is a desktop to show a window on, creates Form1 with
// the real colour chooser, centres and shows it, and runs the event loop until it is closed.
#include "StartupGuard.hpp"
#include "Version.hpp"
#include "window/Form1.hpp"
#include "window/QtColorDialog.hpp"
#include "window/X11WindowHints.hpp"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Without this check Qt aborts with a core dump when there is nowhere to draw.
bool hasGraphicalDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/%1/%2.png")
                         .arg(size)
                         .arg(QString::fromLatin1(app::kDesktopFileName)),
                     QSize(size, size));
    }
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!hasGraphicalDisplay()) {
        static_cast<void>(std::fputs(
            "quillmarch-color-converter: no graphical desktop found; start it from a desktop "
            "session (neither DISPLAY nor WAYLAND_DISPLAY is set)\n",
            stderr));
        return 1;
    }
    // The program takes no command line: Qt sees the program's name and nothing else.
    int qtArgc = argc > 0 ? 1 : 0;
    std::optional<app::StartupGuard> startupGuard(std::in_place);
    const QApplication application(qtArgc, argv);
    startupGuard.reset();
    QApplication::setApplicationName(QStringLiteral("quillmarch-color-converter"));
    QApplication::setApplicationVersion(QString::fromLatin1(app::kVersion));
    QApplication::setDesktopFileName(QString::fromLatin1(app::kDesktopFileName));
    QApplication::setWindowIcon(applicationIcon());

    window::Form1 form(
        [](QWidget& owner) { return std::make_unique<window::QtColorDialog>(owner); });
    window::keepOffTaskbar(form);
    form.centreOnScreen();
    form.show();
    return QApplication::exec();
}
