#include "ColorValues.hpp"

#include "ArithmeticError.hpp"

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

namespace color {
namespace {

constexpr ColorValue kRedMask = 0x0000FF;
constexpr ColorValue kGreenMask = 0x00FF00;
constexpr ColorValue kBlueMask = 0xFF0000;
constexpr double kGreenDivisor = 256.0;
constexpr double kBlueDivisor = 65536.0;
constexpr int kMantissaBits = std::numeric_limits<double>::digits;

// A fault shows in the result: an invalid operation gives NaN, a division by zero or an overflow
// an infinity. The result is checked rather than the floating-point status flags, which
// WebAssembly does not have, so the check works alike on every platform and whatever flags an
// earlier computation left behind.
template <typename Operation>
double checkedFloatOperation(double lhs, double rhs, Operation operation) {
    const double result = operation(lhs, rhs);
    if (!std::isfinite(result)) {
        throw FloatingPointError("floating-point fault in colour arithmetic");
    }
    return result;
}

// |value| * 1000 rounded to the nearest integer, ties to even, from the exact binary value: the
// mantissa is scaled in integers, so there is no intermediate rounding. Exact while |value| is
// below 2^53 / 1000, far above any normalised channel.
std::uint64_t roundedThousandths(double magnitude) {
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent); // magnitude = fraction * 2^exponent
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
    const std::uint64_t scaled = mantissa * 1000U; // below 2^63
    const int shift = kMantissaBits - exponent;    // magnitude * 1000 = scaled / 2^shift
    if (shift <= 0) {
        return scaled << -shift;
    }
    if (shift >= 64) {
        return 0; // below half a thousandth
    }
    const std::uint64_t quotient = scaled >> shift;
    const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1U);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    const bool roundUp = remainder > half || (remainder == half && (quotient & 1U) != 0);
    return quotient + (roundUp ? 1U : 0U);
}

// The pattern "0.000": at least one digit before the mark, three after, a full stop as the mark.
// Written by hand rather than with printf or iostreams, which follow the process locale.
std::string fixedThreeDecimals(double value) {
    const std::uint64_t thousandths = roundedThousandths(std::fabs(value));
    std::string text = std::signbit(value) ? "-" : "";
    text += std::to_string(thousandths / 1000U);
    const auto fraction = static_cast<unsigned>(thousandths % 1000U);
    text += '.';
    text += static_cast<char>('0' + fraction / 100U);
    text += static_cast<char>('0' + fraction / 10U % 10U);
    text += static_cast<char>('0' + fraction % 10U);
    return text;
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
    return fixedThreeDecimals(normalisedChannel(channel));
}

std::string menuValueText(ChannelValue red, ChannelValue green, ChannelValue blue) {
    return channelText(red) + ' ' + channelText(green) + ' ' + channelText(blue) + " 1";
}

std::string hudValueText(ChannelValue red, ChannelValue green, ChannelValue blue) {
    return '(' + channelText(red) + ',' + channelText(green) + ',' + channelText(blue) + ')';
}

} // namespace color
