#include "Outline.hpp"

#include <algorithm>
#include <cmath>

namespace window::qt {
namespace {

constexpr double kVisibleEdge = 3.0;
constexpr int kStyleOutlineDarkness = 140; // as Fusion draws its frames

double relativeLuminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

QColor styleOutline(const QPalette& palette) {
    return palette.color(QPalette::Window).darker(kStyleOutlineDarkness);
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double first = relativeLuminance(a);
    const double second = relativeLuminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

bool styleOutlineFades(const QPalette& palette) {
    return contrastRatio(styleOutline(palette), palette.color(QPalette::Window)) < kVisibleEdge;
}

QColor outlineColour(const QPalette& palette) {
    return styleOutlineFades(palette) ? palette.color(QPalette::WindowText) : styleOutline(palette);
}

} // namespace window::qt
