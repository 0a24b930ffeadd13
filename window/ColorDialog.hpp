// What the Select Color command needs of a colour chooser: the cancel behaviour, a modal show
// and the confirmed colour. Real choosers and test fakes implement it; how they look is theirs.
#pragma once

#include "color/ColorValues.hpp"

#include <stdexcept>

namespace window {

// Raised by showColor() when the user cancels while cancel errors are switched on.
class CancelError : public std::runtime_error {
public:
    CancelError()
        : std::runtime_error("colour selection cancelled") {}
};

// Raised when the chooser itself cannot do its job (no valid colour, no window to show).
class DialogError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ColorDialog {
public:
    ColorDialog() = default;
    ColorDialog(const ColorDialog&) = delete;
    ColorDialog& operator=(const ColorDialog&) = delete;
    ColorDialog(ColorDialog&&) = delete;
    ColorDialog& operator=(ColorDialog&&) = delete;
    virtual ~ColorDialog() = default;

    // On: cancelling makes showColor() throw CancelError. Off: it returns normally.
    virtual void setCancelError(bool raise) = 0;
    // Returns once the user has closed the chooser.
    virtual void showColor() = 0;
    // The last confirmed colour: red in the lowest byte, bits 24-31 clear.
    [[nodiscard]] virtual color::ColorValue color() const = 0;
};

} // namespace window
