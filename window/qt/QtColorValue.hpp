// Conversions between the program's 24-bit colour values and QColor, for the Qt front end.
#pragma once

#include "color/ColorValues.hpp"

#include <QColor>

namespace window::qt {

inline QColor toQColor(color::ColorValue value) {
    return {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
}

// Bits 24-31 stay clear whatever the colour's alpha.
inline color::ColorValue fromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

} // namespace window::qt
