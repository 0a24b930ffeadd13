// The font the window shows its texts in and the factor the control table grows by for it, with
// Qt measuring the texts and the style saying what its controls keep around them; the rule itself
// is window/TableGrowth's. Form1 applies the answer.
#pragma once

#include <QFont>
#include <QSizeF>

class QStyle;

namespace window::qt {

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
