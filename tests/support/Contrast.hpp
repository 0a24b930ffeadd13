// WCAG's contrast ratio of two colours, 1 (none) to 21 (black on white): what the tests hold the
// windows' text and edges to, drawn by Qt or by a browser.
#pragma once

#include <QColor>

#include <algorithm>
#include <cmath>

namespace support {

inline double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& color) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
               0.0722 * linear(color.blueF());
    };
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

} // namespace support
