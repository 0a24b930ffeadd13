#include "Swatch.hpp"

#include <QPainter>

#include <algorithm>

namespace window::qt {

Swatch::Swatch(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleDescription(m_fill.name());
}

void Swatch::setFillColor(const QColor& fill) {
    m_fill = fill;
    setAccessibleDescription(fill.name());
    update();
}

// Painted in device pixels over exactly those Qt's clip gives the swatch (each side rounded to the
// nearest pixel boundary), with a border about one logical pixel wide on every side: drawn in
// logical pixels at a fractional scale, the border would land unevenly and the fill show past it.
// The border takes the text colour, so it stays visible on light and dark palettes alike.
void Swatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QTransform toDevice = painter.deviceTransform();
    const QRectF exact = toDevice.mapRect(QRectF(rect()));
    const QRect pixels(QPoint(qRound(exact.left()), qRound(exact.top())),
                       QPoint(qRound(exact.right()) - 1, qRound(exact.bottom()) - 1));
    const int border = std::max(1, qRound(toDevice.m11()));
    painter.setWorldTransform(toDevice.inverted() * painter.worldTransform());
    painter.fillRect(pixels, palette().color(QPalette::WindowText));
    painter.fillRect(pixels.marginsRemoved({border, border, border, border}), m_fill);
}

} // namespace window::qt
