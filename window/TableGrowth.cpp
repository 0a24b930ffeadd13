#include "TableGrowth.hpp"

#include "ControlTable.hpp"

#include <algorithm>
#include <vector>

namespace window {
namespace {

// One text in one control: what it measures, what the control keeps around it, and the room the
// table gives the control at its own size.
struct Fit {
    TextExtent text;
    TextExtent chrome;
    TextExtent room;

    [[nodiscard]] double factor(double spare) const {
        return std::max((text.width + chrome.width + spare) / room.width,
                        (text.height + chrome.height + spare) / room.height);
    }
};

std::vector<Fit> fitsOf(const MeasureText& measure, const ControlChrome& chrome) {
    std::vector<Fit> fits;
    for (const ControlRow& row : kControlTable) {
        const TextExtent room{static_cast<double>(twipsToPixels(row.place.width)),
                              static_cast<double>(twipsToPixels(row.place.height))};
        const std::string caption(row.caption);
        switch (row.kind) {
        case ControlKind::Label:
            fits.push_back({measure(caption), chrome.label, room});
            break;
        case ControlKind::PushButton:
            fits.push_back({measure(caption), chrome.button, room});
            break;
        case ControlKind::TextBox:
            for (const std::string& text : widestValueTexts(measure)) {
                fits.push_back({measure(text), chrome.textBox, room});
            }
            break;
        case ControlKind::GroupBox:
        case ControlKind::Shape:
            break;
        }
    }
    return fits;
}

} // namespace

std::array<std::string, 2> widestValueTexts(const MeasureText& measure) {
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

double growthFactorFor(const MeasureText& measure, const ControlChrome& chrome) {
    const std::vector<Fit> fits = fitsOf(measure, chrome);
    const auto largest = [&fits](double spare) {
        double factor = 0.0;
        for (const Fit& fit : fits) {
            factor = std::max(factor, fit.factor(spare));
        }
        return factor;
    };
    // A grown edge is rounded to the pixel, so once the table grows each text gets a spare pixel
    // each way.
    return largest(0.0) <= 1.0 ? 1.0 : largest(1.0);
}

double largestFactorWithin(double roomWidth, double roomHeight) {
    return std::min(roomWidth / twipsToPixels(kClientWidthTwips),
                    roomHeight / twipsToPixels(kClientHeightTwips));
}

FontChoice fontWithin(double wantedPoints, double smallestPoints, double largestFactor,
                      const std::function<double(double points)>& factorAt) {
    constexpr double kPointStep = 0.5;
    FontChoice choice{wantedPoints, factorAt(wantedPoints)};
    while (choice.factor > largestFactor && choice.pointSize > smallestPoints) {
        choice.pointSize = std::max(choice.pointSize - kPointStep, smallestPoints);
        choice.factor = factorAt(choice.pointSize);
    }
    return choice;
}

} // namespace window
