// Text1 and Text2: a line edit with no length limit. Editing is QLineEdit's; the texts come from
// the command.
#pragma once

#include <QLineEdit>

namespace window::qt {

class ValueBox final : public QLineEdit {
public:
    explicit ValueBox(QWidget* parent);
};

} // namespace window::qt
