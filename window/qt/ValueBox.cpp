#include "ValueBox.hpp"

#include "Outline.hpp"

#include <QPainter>

#include <limits>

namespace window::qt {

ValueBox::ValueBox(QWidget* parent)
    : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
}

void ValueBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (styleOutlineFades(palette())) {
        QPainter painter(this);
        painter.setPen(outlineColour(palette()));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace window::qt
