// The desktop's style, with the frames and panels of boxes and buttons laid on whole device pixels.
// Qt clips each widget to its rectangle with each side rounded to a device pixel; at a fractional
// scale a style's one-pixel lines straddle those boundaries, so that a side's edge may vanish, show
// doubled, or leave a row behind when a change of state repaints the control. Here the style paints
// each such primitive as it would at the nearest whole scale, into exactly the device pixels the
// clip gives; shapes, colours, hover, pressed and focus stay the style's. Where the style's edge
// would be nearly invisible against the window (high-contrast schemes), it takes the text colour.
#pragma once

#include <QProxyStyle>

namespace window::qt {

class WholePixelStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Over the desktop's own style (or the one the user names with -style or QT_STYLE_OVERRIDE).
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

private:
    void paintBase(PrimitiveElement element, const QStyleOption& option, const QRect& rect,
                   QPainter& painter, const QWidget* widget) const;
};

} // namespace window::qt
