// CommonDialog1 in the browser: a modal dialog of the page's own around the browser's colour
// input, with red, green and blue fields and OK and Cancel, which alone tell a pick from a cancel.
#pragma once

#include "window/ColorDialog.hpp"

#include <array>

namespace window::web {

class InputColorDialog final : public ColorDialog {
public:
    void setCancelError(bool raise) override { m_cancelError = raise; }
    // Waits, without blocking the page, until the chooser closes.
    void showColor() override;
    [[nodiscard]] color::ColorValue color() const override { return m_color; }

private:
    bool m_cancelError = false;
    color::ColorValue m_color = 0; // the chooser opens on the last confirmed colour, black at first
    // What the page reads and writes while the program waits on the chooser: kept with the dialog,
    // not on a stack that waiting sets aside.
    std::array<int, 3> m_channels{};
};

} // namespace window::web
