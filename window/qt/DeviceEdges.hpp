// Edges on whole device pixels, for the window's own painting. Qt clips each widget to its
// rectangle with corner and size rounded to device pixels; a style's one-pixel line at a
// fractional scale may fall outside that clip and vanish, or straddle two pixels and show doubled.
// EdgeStyle draws the group boxes', the text boxes' and the button's edges this way and leaves the
// rest to the desktop's style.
#pragma once

#include <QProxyStyle>

class QPainter;

namespace window::qt {

// Fills the logical rectangle's device pixels with fill, unless it is no brush, and draws its four
// edges just inside them in edge, all as wide: a whole number of device pixels, about one logical
// pixel.
void paintOnDevicePixels(QPainter& painter, const QRect& logical, const QBrush& fill,
                         const QColor& edge);

class EdgeStyle final : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};

} // namespace window::qt
