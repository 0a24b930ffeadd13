// CommonDialog1 for Windows: a ColorDialog over the system's ChooseColorW, modal to and owned by
// the window it is given. It remembers the last confirmed colour and the custom colours.
#pragma once

#include "window/ColorDialog.hpp"

#include <array>
#include <windows.h>

namespace window::win32 {

class ChooseColorDialog final : public ColorDialog {
public:
    ChooseColorDialog() = default;

    // The chooser's owner; set once the window exists.
    void setOwner(HWND owner) { m_owner = owner; }

    void setCancelError(bool raise) override { m_cancelError = raise; }
    void showColor() override;
    [[nodiscard]] color::ColorValue color() const override { return m_color; }

private:
    static constexpr COLORREF kWhite = RGB(255, 255, 255);

    HWND m_owner = nullptr;
    bool m_cancelError = false;
    color::ColorValue m_color = 0;
    std::array<COLORREF, 16> m_customColors{kWhite, kWhite, kWhite, kWhite, kWhite, kWhite,
                                            kWhite, kWhite, kWhite, kWhite, kWhite, kWhite,
                                            kWhite, kWhite, kWhite, kWhite};
};

} // namespace window::win32
