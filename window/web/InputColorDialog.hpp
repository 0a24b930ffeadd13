// CommonDialog1 in the browser: the page's own <input type="color">, opened as the browser's
// colour picker. How the picker looks and takes input is the browser's.
#pragma once

#include "window/ColorDialog.hpp"

#include <array>
#include <string>
#include <utility>

namespace window::web {

class InputColorDialog final : public ColorDialog {
public:
    // The hidden colour input goes, on first use, to the top-left corner of the element with the
    // given id, where the browser then opens its picker.
    explicit InputColorDialog(std::string anchorId)
        : m_anchorId(std::move(anchorId)) {}

    void setCancelError(bool raise) override { m_cancelError = raise; }
    // Waits, without blocking the page, until the picker closes.
    void showColor() override;
    [[nodiscard]] color::ColorValue color() const override { return m_color; }

private:
    std::string m_anchorId;
    bool m_cancelError = false;
    color::ColorValue m_color = 0; // the picker opens on the last confirmed colour, black at first
    // What the page reads and writes while the program waits on the picker: kept with the dialog,
    // not on a stack that waiting sets aside.
    std::array<int, 3> m_channels{};
};

} // namespace window::web
