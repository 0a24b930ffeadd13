#include "QtColorDialog.hpp"

#include "QtColorValue.hpp"

#include <QColorDialog>

namespace window {

QtColorDialog::QtColorDialog(QWidget& owner)
    : m_owner(owner) {}

// Deleting the dialog before its owner also takes it out of the owner's children.
QtColorDialog::~QtColorDialog() = default;

void QtColorDialog::setCancelError(bool raise) {
    m_cancelError = raise;
}

QColorDialog& QtColorDialog::dialog() {
    if (!m_dialog) {
        // No DontUseNativeDialog: where the desktop offers its own chooser, the user gets it.
        m_dialog = std::make_unique<QColorDialog>(&m_owner);
        m_dialog->setWindowModality(Qt::WindowModal);
    }
    return *m_dialog;
}

void QtColorDialog::showColor() {
    QColorDialog& chooser = dialog();
    chooser.setCurrentColor(toQColor(m_color));
    if (chooser.exec() == QDialog::Accepted) {
        const QColor picked = chooser.selectedColor();
        if (!picked.isValid()) {
            throw DialogError("the colour chooser confirmed no valid colour");
        }
        m_color = fromQColor(picked);
        return;
    }
    if (m_cancelError) {
        throw CancelError();
    }
}

color::ColorValue QtColorDialog::color() const {
    return m_color;
}

} // namespace window
