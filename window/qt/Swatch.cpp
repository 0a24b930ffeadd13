#include "Swatch.hpp"

#include <QPainter>

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

// Painted in device pixels over exactly the pixels the swatch covers: at a fractional scale a
// one-pixel border drawn in logical pixels lands unevenly, and the fill would show past it.
void Swatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    painter.scale(1 / ratio, 1 / ratio);
    const QRect covered(QPoint(), (QSizeF(size()) * ratio).toSize());
    painter.fillRect(covered, m_fill);
    // The border takes the text colour, so it stays visible on light and dark palettes alike.
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
    painter.drawRect(covered.adjusted(0, 0, -1, -1));
}

} // namespace window::qt
