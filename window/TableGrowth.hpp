// How far the control table grows for a font: the one factor, never below 1, at which every
// caption and the widest value text fit their controls, and the font size to fall back on where the
// screen has no room for that. Front ends only measure texts with their own toolkit. Templates, so
// that the page carries no function wrapper for the measuring.
#pragma once

#include "ControlTable.hpp"

#include <algorithm>
#include <array>
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

// The widest menu and HUD texts the boxes are ever given in the font measure() measures in: every
// channel written as "0." and three of the font's widest digit, or as "1.000" where that is wider.
template <typename Measure> std::array<std::string, 2> widestValueTexts(const Measure& measure) {
    const auto width = [&measure](const std::string& text) {
        return measure(text).width;
    };
    char widest = '0';
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (width(std::string(1, digit)) > width(std::string(1, widest))) {
            widest = digit;
        }
    }
    std::string channel = "0." + std::string(3, widest);
    if (width("1.000") > width(channel)) {
        channel = "1.000";
    }
    return {channel + ' ' + channel + ' ' + channel + " 1",
            '(' + channel + ',' + channel + ',' + channel + ')'};
}

// The factor the text needs in a control of this size in pixels, with the control's chrome and
// the spare pixel each way that a grown edge, rounded to the pixel, may take.
inline double factorFor(TextExtent text, TextExtent chrome, TextExtent room, double spare) {
    return std::max((text.width + chrome.width + spare) / room.width,
                    (text.height + chrome.height + spare) / room.height);
}

// The smallest factor, never below 1, at which every caption and the widest value texts fit,
// widths and heights, with their control's chrome; measure(text) gives a text's TextExtent.
template <typename Measure>
double growthFactorFor(const Measure& measure, const ControlChrome& chrome) {
    const std::array<std::string, 2> values = widestValueTexts(measure);
    double tight = 0.0;
    double spared = 0.0;
    const auto fit = [&](const std::string& text, TextExtent around, const TwipRect& place) {
        const TextExtent room{static_cast<double>(twipsToPixels(place.width)),
                              static_cast<double>(twipsToPixels(place.height))};
        const TextExtent extent = measure(text);
        tight = std::max(tight, factorFor(extent, around, room, 0.0));
        spared = std::max(spared, factorFor(extent, around, room, 1.0));
    };
    for (const ControlRow& row : kControlTable) {
        if (row.kind == ControlKind::Label) {
            fit(std::string(row.caption), chrome.label, row.place);
        } else if (row.kind == ControlKind::PushButton) {
            fit(std::string(row.caption), chrome.button, row.place);
        } else if (row.kind == ControlKind::TextBox) {
            for (const std::string& value : values) {
                fit(value, chrome.textBox, row.place);
            }
        }
    }
    // Once the table grows at all, every text gets its spare pixel.
    return tight <= 1.0 ? 1.0 : spared;
}

// The largest factor at which the grown client area still fits a room of this many pixels.
inline double largestFactorWithin(double roomWidth, double roomHeight) {
    return std::min(roomWidth / kClientPixels.width, roomHeight / kClientPixels.height);
}

struct FontChoice {
    double pointSize;
    double factor;
};

// The wanted size with its factor where that fits within the largest factor; otherwise the
// largest size, in half points down to the smallest size, that fits, or failing that the smallest
// size with its own factor. factorAt(points) gives a size's factor.
template <typename FactorAt>
FontChoice fontWithin(double wantedPoints, double smallestPoints, double largestFactor,
                      const FactorAt& factorAt) {
    constexpr double kPointStep = 0.5;
    FontChoice choice{wantedPoints, factorAt(wantedPoints)};
    while (choice.factor > largestFactor && choice.pointSize > smallestPoints) {
        choice.pointSize = std::max(choice.pointSize - kPointStep, smallestPoints);
        choice.factor = factorAt(choice.pointSize);
    }
    return choice;
}

} // namespace window
