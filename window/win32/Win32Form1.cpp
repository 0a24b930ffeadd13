#include "Win32Form1.hpp"

#include <algorithm>
#include <commctrl.h>
#include <stdexcept>
#include <string>

namespace window::win32 {
namespace {

constexpr const wchar_t* kClassName = L"QuillmarchColorConverterForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// The dialog font the layout was made for, at 8 pt. Where the system maps it to a wider face
// (Wine's Tahoma is one), the size steps down until every caption fits inside its box.
constexpr const wchar_t* kFontFace = L"MS Shell Dlg 2";
constexpr int kLargestFontTenths = 80;
constexpr int kSmallestFontTenths = 60;
constexpr int kFontStepTenths = 5;

std::wstring widen(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
    return wide;
}

// Looked up at run time so the program still starts on Windows versions without them.
template <typename Function> Function user32Function(const char* name) {
    const FARPROC address = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    // Through void(*)(void), the one function type GCC lets convert to any other without warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

UINT dpiOf(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    if (const auto getDpi = user32Function<GetDpiForWindow>("GetDpiForWindow")) {
        return getDpi(window);
    }
    const HDC context = GetDC(window);
    const int dpi = GetDeviceCaps(context, LOGPIXELSX);
    ReleaseDC(window, context);
    return static_cast<UINT>(dpi);
}

RECT frameForClient(int width, int height, UINT dpi) {
    RECT frame{0, 0, width, height};
    using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    if (const auto adjust = user32Function<AdjustForDpi>("AdjustWindowRectExForDpi")) {
        adjust(&frame, kStyle, FALSE, kExStyle, dpi);
    } else {
        AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    }
    return frame;
}

int scaled(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

HFONT createDialogFont(int tenthsOfPoints, UINT dpi) {
    return CreateFontW(-MulDiv(tenthsOfPoints, static_cast<int>(dpi), 720), 0, 0, 0, FW_NORMAL,
                       FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       kFontFace);
}

bool captionsFit(HFONT font, UINT dpi) {
    const HDC context = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(context, font);
    bool fit = true;
    for (const ControlRow& row : kControlTable) {
        if (row.kind != ControlKind::Label && row.kind != ControlKind::PushButton) {
            continue;
        }
        const std::wstring caption = widen(row.caption);
        SIZE extent{};
        GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &extent);
        fit = fit && extent.cx <= scaled(twipsToPixels(row.place.width), dpi) &&
              extent.cy <= scaled(twipsToPixels(row.place.height), dpi);
    }
    SelectObject(context, previous);
    DeleteDC(context);
    return fit;
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass classOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::GroupBox:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::PushButton:
        return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::Shape:
        return {L"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::Label:
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case ControlKind::TextBox:
        return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    throw std::logic_error("unknown control kind");
}

// The controls' place in the window's client area, adding up the containers' offsets: on Win32
// every control is a direct child of the window, so that its notifications come to Form1.
TwipRect placeInWindow(const ControlRow& row) {
    TwipRect place = row.place;
    for (auto container = row.container; container; container = controlRow(*container).container) {
        place.left += controlRow(*container).place.left;
        place.top += controlRow(*container).place.top;
    }
    return place;
}

// Windows tabs through WS_TABSTOP children in their stacking order, so the table's order must
// already be the tab order.
constexpr bool tableOrderIsTabOrder() {
    constexpr auto kOrder = focusOrder();
    std::size_t next = 0;
    for (const ControlRow& row : kControlTable) {
        if (takesFocus(row.kind) && kOrder.at(next++) != row.id) {
            return false;
        }
    }
    return true;
}
static_assert(tableOrderIsTabOrder());

} // namespace

Form1::Form1(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Form1::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the window class");
    }
    // An owned window gets no taskbar button of its own; the owner itself is never shown.
    m_taskbarOwner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     instance, nullptr);
    const std::wstring caption = widen(kFormCaption);
    m_window =
        CreateWindowExW(kExStyle, kClassName, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, m_taskbarOwner, nullptr, instance, this);
    if (m_window == nullptr) {
        throw std::runtime_error("cannot create the window");
    }
    m_commonDialog1.setOwner(m_window);
    createControls(instance);
    layOut(dpiOf(m_window));
    centreOnWorkArea();
}

Form1::~Form1() {
    if (m_window != nullptr) {
        DestroyWindow(m_window);
    }
    if (m_taskbarOwner != nullptr) {
        DestroyWindow(m_taskbarOwner);
    }
}

void Form1::createControls(HINSTANCE instance) {
    for (const ControlRow& row : kControlTable) {
        const ControlClass kind = classOf(row.kind);
        const std::wstring caption = widen(row.caption);
        HWND handle = CreateWindowExW(
            kind.exStyle, kind.name, caption.c_str(), WS_CHILD | WS_VISIBLE | kind.style, 0, 0, 0,
            0, m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlIdOf(row.id))),
            instance, nullptr);
        if (handle == nullptr) {
            throw std::runtime_error("cannot create a control");
        }
        m_controls.at(indexOf(row.id)) = handle;
    }
    for (const ControlId id : {ControlId::Text1, ControlId::Text2}) {
        SendMessageW(control(id), EM_SETLIMITTEXT, 0, 0); // 0: as long as the system allows
    }
    // Group boxes go to the bottom of the stack so that they are drawn before what they frame.
    for (const ControlRow& row : kControlTable) {
        if (row.kind == ControlKind::GroupBox) {
            SetWindowPos(control(row.id), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
}

void Form1::layOut(UINT dpi) {
    m_dpi = dpi;
    for (int tenths = kLargestFontTenths; tenths >= kSmallestFontTenths;
         tenths -= kFontStepTenths) {
        m_font.reset(createDialogFont(tenths, dpi));
        if (captionsFit(m_font.get(), dpi)) {
            break;
        }
    }
    for (const ControlRow& row : kControlTable) {
        const TwipRect place = placeInWindow(row);
        SetWindowPos(control(row.id), nullptr, scaled(twipsToPixels(place.left), dpi),
                     scaled(twipsToPixels(place.top), dpi), scaled(twipsToPixels(place.width), dpi),
                     scaled(twipsToPixels(place.height), dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    }
}

void Form1::centreOnWorkArea() const {
    const RECT frame = frameForClient(scaled(twipsToPixels(kClientWidthTwips), m_dpi),
                                      scaled(twipsToPixels(kClientHeightTwips), m_dpi), m_dpi);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(m_window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::show(int showCommand) const {
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    SetFocus(control(focusOrder().front()));
}

bool Form1::handleDialogKeys(MSG& message) const {
    return IsDialogMessageW(m_window, &message) != FALSE;
}

LRESULT CALLBACK Form1::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The handle is needed before CreateWindowExW returns it.
        auto* creator =
            static_cast<Form1*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        creator->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creator));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    // No C++ exception may unwind through the system's code that called us.
    try {
        return form->handleMessage(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_DRAWITEM:
        drawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DPICHANGED: {
        layOut(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_ACTIVATE:
        rememberOrRestoreFocus(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        m_window = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

// Like a dialog, the window hands the focus back to the control that had it when it is
// activated again, for example after the colour chooser closes.
void Form1::rememberOrRestoreFocus(bool activated) {
    if (!activated) {
        const HWND focus = GetFocus();
        m_lastFocus = IsChild(m_window, focus) != FALSE ? focus : nullptr;
        return;
    }
    SetFocus(m_lastFocus != nullptr ? m_lastFocus : control(focusOrder().front()));
}

void Form1::onCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    const bool clicked = id == controlIdOf(ControlId::Command1) && HIWORD(wParam) == BN_CLICKED;
    // Enter arrives as IDOK whatever has the focus; it presses the button only while the button
    // has the focus. Esc arrives as IDCANCEL and does nothing.
    const bool enterOnButton = id == IDOK && GetFocus() == control(ControlId::Command1);
    if (clicked || enterOnButton) {
        m_command.onClick();
    }
}

void Form1::drawSwatch(const DRAWITEMSTRUCT& item) const {
    if (item.hwndItem != control(ControlId::Shape1)) {
        return;
    }
    const HBRUSH fill = CreateSolidBrush(m_fill);
    FillRect(item.hDC, &item.rcItem, fill);
    DeleteObject(fill);
    FrameRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOWTEXT));
}

void Form1::replaceText1(std::string_view text) {
    SetWindowTextW(control(ControlId::Text1), widen(text).c_str());
}

void Form1::replaceText2(std::string_view text) {
    SetWindowTextW(control(ControlId::Text2), widen(text).c_str());
}

void Form1::setShape1FillColor(color::ColorValue value) {
    m_fill = static_cast<COLORREF>(value & 0xFFFFFF);
    InvalidateRect(control(ControlId::Shape1), nullptr, TRUE);
}

} // namespace window::win32
