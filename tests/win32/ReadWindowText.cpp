// Prints the text of one control of a top-level window, found by its title and the control's id,
// as a screen reader or automation tool would read it (WM_GETTEXT). Used by WineTest.
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

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ReadWindowText <window title> <control id>\n");
        return 2;
    }
    const HWND window = FindWindowW(nullptr, widen(argv[1]).c_str());
    const HWND control = window != nullptr ? GetDlgItem(window, std::atoi(argv[2])) : nullptr;
    if (control == nullptr) {
        std::fprintf(stderr, "ReadWindowText: no such window or control\n");
        return 1;
    }
    const auto length = static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0));
    std::vector<wchar_t> text(length + 1, L'\0');
    SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    std::printf("%s", narrow(text.data()).c_str());
    return 0;
}
