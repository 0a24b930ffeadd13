// How far the control table grows for a font: the one factor, never below 1, at which every
// caption and the widest value text fit their controls, and the font size to fall back on where the
// screen has no room for that. Front ends only measure texts with their own toolkit.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace window {

// A text's size, or what a control keeps around its text, in pixels at the table's own scale.
struct TextExtent {
    double width = 0;
    double height = 0;
};

// What each kind of control that shows text keeps around it: frame, padding, margins, caret.
struct ControlChrome {
    TextExtent label;
    TextExtent button;
    TextExtent textBox;
};

using MeasureText = std::function<TextExtent(const std::string& text)>;

// The widest menu and HUD texts the boxes are ever given in the measured font: every channel
// written as "0." and three of the font's widest digit, or as "1.000" where that is wider.
[[nodiscard]] std::array<std::string, 2> widestValueTexts(const MeasureText& measure);

// The smallest factor, never below 1, at which every caption and the widest value texts fit,
// widths and heights, with their control's chrome.
[[nodiscard]] double growthFactorFor(const MeasureText& measure, const ControlChrome& chrome);

// The largest factor at which the grown client area still fits a room of this many pixels.
[[nodiscard]] double largestFactorWithin(double roomWidth, double roomHeight);

struct FontChoice {
    double pointSize;
    double factor;
};

// The wanted size with its factor where that fits within the largest factor; otherwise the
// largest size, in half points down to the smallest size, that fits, or failing that the smallest
// size with its own factor.
[[nodiscard]] FontChoice fontWithin(double wantedPoints, double smallestPoints,
                                    double largestFactor,
                                    const std::function<double(double points)>& factorAt);

} // namespace window
