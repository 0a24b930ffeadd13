// Start-up and shut-down: checks that there is a desktop to show a window on, shows Form1 and runs
// the event loop until the window is closed.
#include "Launcher.hpp"
#include "ScaleSettings.hpp"
#include "SessionPlatform.hpp"

#include <array>
#include <cstdio>
#include <span>

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
    app::qt::dropUnusableScaleSettings();
    // The program takes no command line: Qt sees the program's name and, in a Wayland session
    // with an X server, the platforms to try.
    std::array<char, 10> platformOption{"-platform"};
    std::array<char, 12> x11First{"xcb;wayland"};
    const std::span<char*> arguments(argv, argc > 0 ? static_cast<std::size_t>(argc) : 0);
    char* programName = arguments.empty() ? nullptr : arguments.front();
    std::array<char*, 4> qtArgv{programName, nullptr, nullptr, nullptr};
    int qtArgc = programName != nullptr ? 1 : 0;
    if (qtArgc == 1 && app::qt::prefersX11First()) {
        qtArgv = {programName, platformOption.data(), x11First.data(), nullptr};
        qtArgc = 3;
    }
    app::qt::Launcher launcher(qtArgc, qtArgv.data());
    launcher.show();
    return QApplication::exec();
}
