// Text1 and Text2: a line edit with no length limit whose edge stays visible where the style's
// outline would vanish against the window. Editing is QLineEdit's; the texts come from the command.
#pragma once

#include <QLineEdit>

namespace window::qt {

class ValueBox final : public QLineEdit {
public:
    explicit ValueBox(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace window::qt
