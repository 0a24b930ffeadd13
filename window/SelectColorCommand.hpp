// The Click of Command1: asks the colour chooser for a colour and writes its menu and HUD value
// texts and its swatch colour. Knows no toolkit; the chooser and the window come in as interfaces.
#pragma once

namespace window {

class ColorDialog;
class ConverterOutputs;

class SelectColorCommand {
public:
    SelectColorCommand(ColorDialog& CommonDialog1, ConverterOutputs& outputs);

    // Never throws: a cancel or any failure ends the command where it happened, leaving the
    // outputs already written and skipping the rest.
    void onClick() noexcept;

private:
    void run();

    ColorDialog& m_dialog;
    ConverterOutputs& m_outputs;
};

} // namespace window
