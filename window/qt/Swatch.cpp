#include "Swatch.hpp"

#include "DeviceEdges.hpp"

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

// The border takes the text colour, so it stays visible on light and dark palettes alike.
void Swatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    paintOnDevicePixels(painter, rect(), m_fill, palette().color(QPalette::WindowText));
}

} // namespace window::qt
