// Start-up and shut-down: checks that there is a desktop to show a window on, shows Form1 and runs
// the event loop until the window is closed.
#include "Launcher.hpp"
#include "ScaleSettings.hpp"
#include "SessionPlatform.hpp"

#include <array>
#include <cstdio>

namespace {

// Without this check Qt aborts with a core dump when there is nowhere to draw.
bool hasGraphicalDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
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
    app::dropUnusableScaleSettings();
    // The program takes no command line: Qt sees the program's name and, in a Wayland session
    // with an X server, the platforms to try.
    std::array<char, 10> platformOption{"-platform"};
    std::array<char, 12> x11First{"xcb;wayland"};
    std::array<char*, 4> qtArgv{argc > 0 ? argv[0] : nullptr, nullptr, nullptr, nullptr};
    int qtArgc = argc > 0 ? 1 : 0;
    if (qtArgc == 1 && app::prefersX11First()) {
        qtArgv = {argv[0], platformOption.data(), x11First.data(), nullptr};
        qtArgc = 3;
    }
    app::Launcher launcher(qtArgc, qtArgv.data());
    launcher.show();
    return QApplication::exec();
}
