// Cases the conversion core is checked against on every platform: the program's own examples and an
// oracle that computes a channel's text in integers, without floating point or the scale constant.
#pragma once

#include "color/ColorValues.hpp"

#include <array>
#include <cstdio>
#include <string>

namespace cases {

struct Example {
    const char* name;
    color::ColorValue value;
    const char* menu;
    const char* hud;
};

constexpr color::ColorValue rgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

// The first four, the corners and the program's own mid-range examples, are picked in the real
// choosers too.
inline constexpr std::array kExamples{
    Example{"black", rgb(0, 0, 0), "0.000 0.000 0.000 1", "(0.000,0.000,0.000)"},
    Example{"white", rgb(255, 255, 255), "1.000 1.000 1.000 1", "(1.000,1.000,1.000)"},
    Example{"purple", rgb(128, 64, 192), "0.502 0.251 0.753 1", "(0.502,0.251,0.753)"},
    Example{"dark blue", rgb(1, 51, 127), "0.004 0.200 0.498 1", "(0.004,0.200,0.498)"},
    Example{"red only", 0x0000FF, "1.000 0.000 0.000 1", "(1.000,0.000,0.000)"},
    Example{"green only", 0x00FF00, "0.000 1.000 0.000 1", "(0.000,1.000,0.000)"},
    Example{"blue only", 0xFF0000, "0.000 0.000 1.000 1", "(0.000,0.000,1.000)"},
    Example{"grey", rgb(127, 127, 127), "0.498 0.498 0.498 1", "(0.498,0.498,0.498)"},
};

inline std::string menuTextOf(color::ColorValue value) {
    return color::menuValueText(color::RGBRed(value), color::RGBGreen(value),
                                color::RGBBlue(value));
}

inline std::string hudTextOf(color::ColorValue value) {
    return color::hudValueText(color::RGBRed(value), color::RGBGreen(value), color::RGBBlue(value));
}

// Thousandths rounded half up, in integers only.
inline std::string oracleChannelText(int channel) {
    const int thousandths = (2000 * channel + 255) / 510;
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%d.%03d", thousandths / 1000, thousandths % 1000);
    return text.data();
}

// A colour with the channel in red and different neighbours, so that a mixed-up byte order or
// separator shows as well as a wrong digit.
constexpr color::ColorValue oracleColor(int channel) {
    return rgb(channel, 255 - channel, (channel * 7) % 256);
}

inline std::string oracleMenuText(int channel) {
    return oracleChannelText(channel) + ' ' + oracleChannelText(255 - channel) + ' ' +
           oracleChannelText((channel * 7) % 256) + " 1";
}

inline std::string oracleHudText(int channel) {
    return '(' + oracleChannelText(channel) + ',' + oracleChannelText(255 - channel) + ',' +
           oracleChannelText((channel * 7) % 256) + ')';
}

} // namespace cases
