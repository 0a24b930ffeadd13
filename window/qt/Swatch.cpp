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

void Swatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    // The border takes the text colour, so it stays visible on light and dark palettes alike.
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace window::qt
