// Splits a 24-bit colour value into its channels and writes the menu and HUD value texts.
// Pure functions without state or locale; the window decides when to call them and shows
// the results.
#pragma once

#include <cstdint>
#include <string>

namespace color {

// Red in bits 0-7, green in bits 8-15, blue in bits 16-23.
using ColorValue = std::int32_t;
using ChannelValue = std::int16_t;

// A colour value's three channels, each 0 to 255, as toolkits take and give them.
struct Channels {
    int red;
    int green;
    int blue;
};

constexpr Channels channelsOf(ColorValue value) {
    return {value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF};
}

constexpr ColorValue colorValueOf(Channels channels) {
    return (channels.red & 0xFF) | ((channels.green & 0xFF) << 8) | ((channels.blue & 0xFF) << 16);
}

// Slightly below 1/255 on purpose: every channel is multiplied by exactly this constant, so the
// texts match, digit for digit, what Quillmarch's own tools have always written.
inline constexpr double kChannelScale = 0.0039215686274;
// The builtin behind std::bit_cast, which the libc++ of Debian's emscripten does not have yet.
static_assert(__builtin_bit_cast(std::uint64_t, kChannelScale) == 0x3F701010100F2A78ULL);

// Channel extraction. Bits 24-31 are masked off like the rest, so any 32-bit input yields a
// channel from 0 to 255.
ChannelValue RGBRed(const ColorValue& RGBCol);
ChannelValue RGBGreen(const ColorValue& RGBCol);
ChannelValue RGBBlue(const ColorValue& RGBCol);

// Narrowing with a range check; throw OverflowError when the value has no 16-bit form.
ChannelValue narrowToChannel(std::int32_t value);
// Rounds to nearest (ties to even) first; NaN and infinities overflow too.
ChannelValue roundToChannel(double value);

// One double operation done at run time, then the floating-point status read: an invalid
// operation, a division by zero or an overflow throws FloatingPointError.
double checkedMultiply(double lhs, double rhs);
double checkedDivide(double lhs, double rhs);

// channel * kChannelScale, through checkedMultiply.
double normalisedChannel(ChannelValue channel);

// The normalised channel with the pattern "0.000": always a full stop as decimal mark, whatever
// the process locale says, because Quillmarch reads nothing else.
std::string channelText(ChannelValue channel);

// "0.502 0.251 0.753 1"
std::string menuValueText(ChannelValue red, ChannelValue green, ChannelValue blue);
// "(0.502,0.251,0.753)"
std::string hudValueText(ChannelValue red, ChannelValue green, ChannelValue blue);

} // namespace color
