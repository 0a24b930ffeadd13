#include "ColorValues.hpp"

#include "ArithmeticError.hpp"

#include <array>
#include <cfenv>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <system_error>

namespace color {
namespace {

constexpr ColorValue kRedMask = 0x0000FF;
constexpr ColorValue kGreenMask = 0x00FF00;
constexpr ColorValue kBlueMask = 0xFF0000;
constexpr double kGreenDivisor = 256.0;
constexpr double kBlueDivisor = 65536.0;
constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
constexpr int kChannelDecimals = 3;

// The operands pass through volatile storage so that the operation happens at run time, after
// the flags are cleared and before they are read; a product the compiler folded at build time
// would leave the check dead.
template <typename Operation>
double checkedFloatOperation(double lhs, double rhs, Operation operation) {
    const volatile double left = lhs;
    const volatile double right = rhs;
    std::feclearexcept(kFaultFlags);
    const volatile double result = operation(left, right);
    if (std::fetestexcept(kFaultFlags) != 0) {
        throw FloatingPointError("floating-point fault in colour arithmetic");
    }
    return result;
}

ChannelValue shiftedChannel(const ColorValue& RGBCol, ColorValue mask, double divisor) {
    return roundToChannel(checkedDivide(static_cast<double>(RGBCol & mask), divisor));
}

} // namespace

double checkedMultiply(double lhs, double rhs) {
    return checkedFloatOperation(lhs, rhs, std::multiplies<>{});
}

double checkedDivide(double lhs, double rhs) {
    return checkedFloatOperation(lhs, rhs, std::divides<>{});
}

ChannelValue narrowToChannel(std::int32_t value) {
    if (value < std::numeric_limits<ChannelValue>::min() ||
        value > std::numeric_limits<ChannelValue>::max()) {
        throw OverflowError("value does not fit a 16-bit channel");
    }
    return static_cast<ChannelValue>(value);
}

ChannelValue roundToChannel(double value) {
    // nearbyint follows the current rounding mode, which is ties-to-even unless someone changed
    // it; the comparisons are written so that NaN fails them.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<ChannelValue>::min() &&
          rounded <= std::numeric_limits<ChannelValue>::max())) {
        throw OverflowError("value does not fit a 16-bit channel");
    }
    return static_cast<ChannelValue>(rounded);
}

ChannelValue RGBRed(const ColorValue& RGBCol) {
    return narrowToChannel(RGBCol & kRedMask);
}

ChannelValue RGBGreen(const ColorValue& RGBCol) {
    return shiftedChannel(RGBCol, kGreenMask, kGreenDivisor);
}

ChannelValue RGBBlue(const ColorValue& RGBCol) {
    return shiftedChannel(RGBCol, kBlueMask, kBlueDivisor);
}

double normalisedChannel(ChannelValue channel) {
    return checkedMultiply(static_cast<double>(channel), kChannelScale);
}

std::string channelText(ChannelValue channel) {
    // to_chars never consults a locale, unlike printf and iostreams, and rounds correctly.
    std::array<char, 32> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), normalisedChannel(channel),
                      std::chars_format::fixed, kChannelDecimals);
    if (error != std::errc{}) {
        throw OverflowError("channel text does not fit its buffer");
    }
    return {buffer.data(), end};
}

std::string menuValueText(ChannelValue red, ChannelValue green, ChannelValue blue) {
    return channelText(red) + ' ' + channelText(green) + ' ' + channelText(blue) + " 1";
}

std::string hudValueText(ChannelValue red, ChannelValue green, ChannelValue blue) {
    return '(' + channelText(red) + ',' + channelText(green) + ',' + channelText(blue) + ')';
}

} // namespace color
