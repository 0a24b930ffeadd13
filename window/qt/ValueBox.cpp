#include "ValueBox.hpp"

#include <limits>

namespace window::qt {

ValueBox::ValueBox(QWidget* parent)
    : QLineEdit(parent) {
    setMaxLength(std::numeric_limits<int>::max());
}

} // namespace window::qt
