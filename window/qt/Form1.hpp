// The converter window: builds its controls from the control table, grown to fit the font in use,
// owns the colour chooser and shows what the Select Color command writes. The command's steps
// live in SelectColorCommand; how far the table grows is RoomForFont's to say.
#pragma once

#include "window/ColorDialog.hpp"
#include "window/ControlTable.hpp"
#include "window/ConverterOutputs.hpp"
#include "window/SelectColorCommand.hpp"
#include "x11/WindowManagerSide.hpp"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>

namespace window::qt {

class Form1 final : public QWidget, private ConverterOutputs {
    Q_OBJECT

public:
    // Builds CommonDialog1 with the window as its owner; the program passes the real chooser,
    // tests a fake.
    using DialogFactory = std::function<std::unique_ptr<ColorDialog>(QWidget& owner)>;

    explicit Form1(const DialogFactory& makeDialog);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    Form1(Form1&&) = delete;
    Form1& operator=(Form1&&) = delete;
    ~Form1() override;

    [[nodiscard]] QWidget* control(ControlId id) const { return m_controls.at(indexOf(id)); }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void buildControls();
    void layOutForFont();
    void holdSize(QSize size);
    void keepNormalState();
    void chainTabOrder() const;

    void replaceText1(std::string_view text) override;
    void replaceText2(std::string_view text) override;
    void setShape1FillColor(color::ColorValue value) override;

    std::array<QWidget*, kControlCount> m_controls{};
    std::unique_ptr<ColorDialog> m_commonDialog1;
    SelectColorCommand m_command;
    x11::WindowManagerSide m_windowManager;
    QSize m_heldSize;
};

} // namespace window::qt
