// CommonDialog1 for the Qt front end: a ColorDialog over QColorDialog, modal to its owner window.
// The dialog is built once, shortly after the owner's first paint (or on first use if that comes
// sooner), and kept: the first click opens it as fast as every later one, and it reopens on the
// last confirmed colour. A chooser another program takes away counts as cancelled.
#pragma once

#include "window/ColorDialog.hpp"

#include <memory>

class QColorDialog;
class QObject;
class QWidget;

namespace window::qt {

class QtColorDialog final : public ColorDialog {
public:
    // The owner must outlive this object.
    explicit QtColorDialog(QWidget& owner);
    QtColorDialog(const QtColorDialog&) = delete;
    QtColorDialog& operator=(const QtColorDialog&) = delete;
    QtColorDialog(QtColorDialog&&) = delete;
    QtColorDialog& operator=(QtColorDialog&&) = delete;
    ~QtColorDialog() override;

    void setCancelError(bool raise) override;
    void showColor() override;
    [[nodiscard]] color::ColorValue color() const override;

private:
    QColorDialog& dialog();
    void prepare();
    int execUnlessTakenAway(QColorDialog& chooser);

    QWidget& m_owner;
    std::unique_ptr<QObject> m_builder; // builds the dialog after the owner's first paint
    std::unique_ptr<QColorDialog> m_dialog;
    bool m_cancelError = false;
    color::ColorValue m_color = 0;
};

} // namespace window::qt
