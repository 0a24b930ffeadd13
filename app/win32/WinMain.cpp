// Start-up and shut-down on Windows: creates Form1, centred and shown, and runs the message loop
// until the window is closed.
#include "window/win32/Form1.hpp"

#include <commctrl.h>
#include <exception>
#include <string>
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        const window::win32::Form1 form(instance);
        form.show(showCommand);
        MSG message{};
        BOOL got = FALSE;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
            if (!form.handleDialogKeys(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        return got < 0 ? 1 : static_cast<int>(message.wParam);
    } catch (const std::exception& error) {
        const std::string caption(window::kFormCaption);
        MessageBoxA(nullptr, error.what(), caption.c_str(), MB_OK | MB_ICONERROR);
        return 1;
    }
}
