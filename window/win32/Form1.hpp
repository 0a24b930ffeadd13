// Form1 for Windows: a plain Win32 window built from the control table, owning CommonDialog1 over
// ChooseColorW and showing what the Select Color command writes. Layout, tab order and the
// command's steps come from the shared table and command; only the Win32 plumbing lives here.
#pragma once

#include "ChooseColorDialog.hpp"
#include "window/ControlTable.hpp"
#include "window/ConverterOutputs.hpp"
#include "window/SelectColorCommand.hpp"

#include <array>
#include <memory>
#include <type_traits>
#include <windows.h>

namespace window::win32 {

class Form1 final : private ConverterOutputs {
public:
    // Creates the window, centred on the primary monitor's work area, but does not show it.
    explicit Form1(HINSTANCE instance);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;
    ~Form1() override;

    [[nodiscard]] HWND handle() const { return m_window; }
    void show(int showCommand) const;
    // Keyboard navigation between the controls; true when the message was used up.
    bool handleDialogKeys(MSG& message) const;

    static constexpr int controlIdOf(ControlId id) {
        return kFirstControlId + static_cast<int>(id);
    }

private:
    struct FontDeleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    static constexpr int kFirstControlId = 100;

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls(HINSTANCE instance);
    void layOut(UINT dpi);
    [[nodiscard]] RECT placed(const TwipRect& place) const;
    [[nodiscard]] MONITORINFO monitor() const;
    [[nodiscard]] double largestFactorOnWorkArea() const;
    void centreOnWorkArea() const;
    void rememberOrRestoreFocus(bool activated);
    void onCommand(WPARAM wParam);
    void drawSwatch(const DRAWITEMSTRUCT& item) const;
    [[nodiscard]] HWND control(ControlId id) const { return m_controls.at(indexOf(id)); }

    void replaceText1(std::string_view text) override;
    void replaceText2(std::string_view text) override;
    void setShape1FillColor(color::ColorValue value) override;

    HWND m_taskbarOwner = nullptr;
    HWND m_window = nullptr;
    std::array<HWND, kControlCount> m_controls{};
    HWND m_lastFocus = nullptr;
    FontHandle m_font;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    double m_factor = 1.0;
    COLORREF m_fill = RGB(0, 0, 0);
    ChooseColorDialog m_commonDialog1;
    SelectColorCommand m_command{m_commonDialog1, *this};
};

} // namespace window::win32
