// Reads a running Windows program from the outside, as automation or a screen reader would, for
// the tests under Wine:
//   WindowProbe controls <title>             "id left top width height text" per child, in client
//                                            pixels, the text as WM_GETTEXT gives it
//   WindowProbe facts <title> <executable>   style bits, the file's icons and version record
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <windows.h>

namespace {

std::wstring widen(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string narrow(const std::wstring& text) {
    const auto size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

struct Reading {
    HWND window;
    bool answered;
};

BOOL CALLBACK printControl(HWND control, LPARAM reading) {
    Reading& read = *reinterpret_cast<Reading*>(reading);
    // A program stuck in its own work must not hang the test that reads it.
    const auto send = [control](UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
        return SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000,
                                   result) != 0;
    };
    DWORD_PTR length = 0;
    std::vector<wchar_t> text;
    if (send(WM_GETTEXTLENGTH, 0, 0, &length)) {
        text.assign(length + 1, L'\0');
    }
    DWORD_PTR copied = 0;
    if (text.empty() ||
        !send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &copied)) {
        std::fprintf(stderr, "WindowProbe: the program does not answer\n");
        read.answered = false;
        return FALSE;
    }
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, read.window, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%d %ld %ld %ld %ld %s\n", GetDlgCtrlID(control), rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, narrow(text.data()).c_str());
    return TRUE;
}

std::string versionValue(const std::vector<char>& record, const wchar_t* name) {
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT size = 0;
    if (VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &size) == FALSE ||
        size < sizeof(Translation)) {
        return {};
    }
    wchar_t path[128];
    std::swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
                  translation->codePage, name);
    wchar_t* value = nullptr;
    if (VerQueryValueW(record.data(), path, reinterpret_cast<void**>(&value), &size) == FALSE) {
        return {};
    }
    return narrow(value);
}

int printFacts(HWND window, const char* executable) {
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    std::printf("minimise %d\nmaximise %d\nresizable %d\nmenu %d\n",
                (style & WS_MINIMIZEBOX) != 0 ? 1 : 0, (style & WS_MAXIMIZEBOX) != 0 ? 1 : 0,
                (style & WS_THICKFRAME) != 0 ? 1 : 0, (style & WS_SYSMENU) != 0 ? 1 : 0);
    // The close box goes with the system menu unless the window's class takes it away.
    const auto classStyle = static_cast<DWORD>(GetClassLongW(window, GCL_STYLE));
    std::printf("close %d\n", (style & WS_SYSMENU) != 0 && (classStyle & CS_NOCLOSE) == 0 ? 1 : 0);
    const std::wstring path = widen(executable);
    std::printf("fileicons %u\n", ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0));
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<char> record(size);
    if (size != 0 && GetFileVersionInfoW(path.c_str(), 0, size, record.data()) != FALSE) {
        std::printf("FileVersion %s\nProductName %s\n",
                    versionValue(record, L"FileVersion").c_str(),
                    versionValue(record, L"ProductName").c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string command = argc > 1 ? argv[1] : "";
    const HWND window = argc > 2 ? FindWindowW(nullptr, widen(argv[2]).c_str()) : nullptr;
    if (window == nullptr) {
        std::fprintf(stderr, "usage: WindowProbe controls|facts <window title> [...]; "
                             "or no such window\n");
        return 2;
    }
    if (command == "controls") {
        Reading reading{window, true};
        EnumChildWindows(window, printControl, reinterpret_cast<LPARAM>(&reading));
        return reading.answered ? 0 : 1;
    }
    if (command == "facts" && argc == 4) {
        return printFacts(window, argv[3]);
    }
    std::fprintf(stderr, "WindowProbe: unknown command\n");
    return 2;
}
