// How far the control table must grow for the font the window shows its texts in: the smallest
// factor, never below 1, at which every caption and the widest value text fit their controls, and
// which font to take when the screen has no room for that. Form1 applies it; the table and the
// texts come from window/ and color/.
#pragma once

#include <QFont>
#include <QSizeF>

class QStyle;

namespace window::qt {

[[nodiscard]] double roomFactorFor(const QFont& font, const QStyle& style);

struct Growth {
    QFont font;
    double factor;
};

// The wanted font and its factor when the grown client area fits the room; otherwise the largest
// size of that font, not below the smallest point size, whose grown table fits, or failing that
// the smallest size with its own factor.
[[nodiscard]] Growth growthWithin(const QFont& wanted, qreal smallestPointSize, const QStyle& style,
                                  QSizeF room);

} // namespace window::qt
