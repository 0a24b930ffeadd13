#include "DeviceEdges.hpp"

#include "Outline.hpp"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace window::qt {

void paintOnDevicePixels(QPainter& painter, const QRect& logical, const QBrush& fill,
                         const QColor& edge) {
    const QTransform toDevice = painter.deviceTransform();
    // Rounded as Qt rounds the widget's clip: each side to the nearest pixel boundary.
    const QRectF exact = toDevice.mapRect(QRectF(logical));
    const QRect pixels(QPoint(qRound(exact.left()), qRound(exact.top())),
                       QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
    const int width = std::max(1, qRound(toDevice.m11()));
    painter.save();
    painter.setWorldTransform(toDevice.inverted());
    if (fill.style() != Qt::NoBrush) {
        painter.fillRect(pixels, fill);
    }
    painter.fillRect(pixels.left(), pixels.top(), pixels.width(), width, edge);
    painter.fillRect(pixels.left(), pixels.bottom() - width + 1, pixels.width(), width, edge);
    painter.fillRect(pixels.left(), pixels.top(), width, pixels.height(), edge);
    painter.fillRect(pixels.right() - width + 1, pixels.top(), width, pixels.height(), edge);
    painter.restore();
}

// The edge takes the highlight while the control has the keyboard, as the desktop's styles show
// the focus, and the outline colour otherwise.
void EdgeStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                              QPainter* painter, const QWidget* widget) const {
    const QPalette& palette = option->palette;
    const QColor edge = option->state.testFlag(State_HasFocus) ? palette.color(QPalette::Highlight)
                                                               : outlineColour(palette);
    switch (element) {
    case PE_Frame:
        paintOnDevicePixels(*painter, option->rect, Qt::NoBrush, edge);
        return;
    case PE_PanelLineEdit:
        paintOnDevicePixels(*painter, option->rect, palette.color(QPalette::Base), edge);
        return;
    case PE_PanelButtonCommand: {
        // Lit from above, and darker while held down, as buttons are drawn on the desktop.
        const QColor face = palette.color(QPalette::Button);
        const bool down = option->state.testAnyFlags(State_Sunken | State_On);
        QLinearGradient light(0, 0, 0, 1);
        light.setCoordinateMode(QGradient::ObjectBoundingMode);
        light.setColorAt(0, down ? face.darker(110) : face.lighter(110));
        light.setColorAt(1, face.darker(104));
        paintOnDevicePixels(*painter, option->rect, light, edge);
        return;
    }
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

} // namespace window::qt
