// Conversions between the program's 24-bit colour values and QColor, for the Qt front end.
#pragma once

#include "color/ColorValues.hpp"

#include <QColor>

namespace window::qt {

inline QColor toQColor(color::ColorValue value) {
    const color::Channels channels = color::channelsOf(value);
    return {channels.red, channels.green, channels.blue};
}

// Bits 24-31 stay clear whatever the colour's alpha.
inline color::ColorValue fromQColor(const QColor& qColor) {
    const QColor rgb = qColor.toRgb();
    return color::colorValueOf({rgb.red(), rgb.green(), rgb.blue()});
}

} // namespace window::qt
