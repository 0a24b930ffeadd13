#include "Form1.hpp"

#include "window/TableGrowth.hpp"

#include <algorithm>
#include <cmath>
#include <commctrl.h>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>
#include <string>

namespace window::win32 {
namespace {

constexpr const wchar_t* kClassName = L"QuillmarchColorConverterForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
// The dialog font the layout was made for, at 8 pt: the smallest the window ever uses. A larger
// message font the user set for reading is taken instead, and the whole table grows by one factor
// where captions need more room than its boxes give.
constexpr const wchar_t* kFontFace = L"MS Shell Dlg 2";
constexpr int kDefaultFontTenths = 80;
// What a push button and a sunken edit box keep around their text, in pixels at 96 dpi: edges,
// the edit box's margins and its caret.
constexpr ControlChrome kChrome{{}, {8, 6}, {11, 6}};

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

LOGFONTW defaultDialogFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(kDefaultFontTenths, static_cast<int>(dpi), 720);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    wcsncpy(font.lfFaceName, kFontFace, LF_FACESIZE - 1);
    return font;
}

// The font the user reads messages in (the system's non-client metrics), at the window's DPI.
LOGFONTW userMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    if (const auto forDpi = user32Function<ForDpi>("SystemParametersInfoForDpi")) {
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    } else if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != 0) {
        const HDC screen = GetDC(nullptr);
        const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        metrics.lfMessageFont.lfHeight =
            MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    }
    return metrics.lfMessageFont;
}

double pointsOf(const LOGFONTW& font, UINT dpi) {
    return std::abs(font.lfHeight) * 72.0 / dpi;
}

// Keeps the height's sign: a positive height is the cell's, a negative one the characters'.
LOGFONTW atPoints(LOGFONTW font, double points, UINT dpi) {
    const auto height = static_cast<LONG>(std::lround(points * dpi / 72.0));
    font.lfHeight = font.lfHeight > 0 ? height : -height;
    return font;
}

// Larger by more than the half point that scaling a height to the DPI may round it by.
bool isLarger(const LOGFONTW& font, const LOGFONTW& than, UINT dpi) {
    return pointsOf(font, dpi) > pointsOf(than, dpi) + 0.5;
}

// How far the table must grow at this DPI for every caption and value text to fit its box. GDI
// measures in the window's pixels; the table counts pixels at 96 dpi.
double roomFactorFor(const LOGFONTW& description, UINT dpi) {
    const HFONT font = CreateFontIndirectW(&description);
    const HDC context = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(context, font);
    const double perTablePixel = static_cast<double>(dpi) / USER_DEFAULT_SCREEN_DPI;
    const double factor = growthFactorFor(
        [context, perTablePixel](const std::string& text) {
            const std::wstring wide = widen(text);
            SIZE extent{};
            GetTextExtentPoint32W(context, wide.c_str(), static_cast<int>(wide.size()), &extent);
            return TextExtent{extent.cx / perTablePixel, extent.cy / perTablePixel};
        },
        kChrome);
    SelectObject(context, previous);
    DeleteDC(context);
    DeleteObject(font);
    return factor;
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
    const LOGFONTW smallest = defaultDialogFont(dpi);
    const LOGFONTW message = userMessageFont(dpi);
    const LOGFONTW wanted = isLarger(message, smallest, dpi) ? message : smallest;
    // Where the screen has no room for the table grown for that font, the largest size that fits.
    const FontChoice choice =
        fontWithin(pointsOf(wanted, dpi), pointsOf(smallest, dpi), largestFactorOnWorkArea(),
                   [&wanted, dpi](double points) {
                       return roomFactorFor(atPoints(wanted, points, dpi), dpi);
                   });
    m_factor = choice.factor;
    const LOGFONTW chosen = atPoints(wanted, choice.pointSize, dpi);
    m_font.reset(CreateFontIndirectW(&chosen));
    for (const ControlRow& row : kControlTable) {
        const RECT place = placed(placeInClient(row.id));
        SetWindowPos(control(row.id), nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control(row.id), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
    }
}

// Grown by the DPI and the table's factor together.
RECT Form1::placed(const TwipRect& place) const {
    const PixelRect pixels =
        scaledPixelRect(place, m_factor * m_dpi / static_cast<double>(USER_DEFAULT_SCREEN_DPI));
    return {pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
}

MONITORINFO Form1::monitor() const {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor;
}

// The largest factor at which the framed window still fits the monitor's work area.
double Form1::largestFactorOnWorkArea() const {
    const RECT& work = monitor().rcWork;
    const RECT frame = frameForClient(0, 0, m_dpi);
    const double perTablePixel = static_cast<double>(m_dpi) / USER_DEFAULT_SCREEN_DPI;
    return largestFactorWithin(
        (work.right - work.left - (frame.right - frame.left)) / perTablePixel,
        (work.bottom - work.top - (frame.bottom - frame.top)) / perTablePixel);
}

// The frame centred on the work area, its title bar kept on it.
void Form1::centreOnWorkArea() const {
    const RECT client = placed({0, 0, kClientWidthTwips, kClientHeightTwips});
    const RECT frame = frameForClient(client.right, client.bottom, m_dpi);
    const RECT& work = monitor().rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(m_window, nullptr,
                 std::max(work.left, work.left + (work.right - work.left - width) / 2),
                 std::max(work.top, work.top + (work.bottom - work.top - height) / 2), width,
                 height, SWP_NOZORDER | SWP_NOACTIVATE);
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
