#include "SelectColorCommand.hpp"

#include "ColorDialog.hpp"
#include "ConverterOutputs.hpp"
#include "color/ColorValues.hpp"

namespace window {
namespace {

struct Channels {
    color::ChannelValue red;
    color::ChannelValue green;
    color::ChannelValue blue;
};

// The colour is read afresh for each channel, red first, as separate statements: the order of
// function arguments would leave the read order to the compiler.
Channels readChannels(const ColorDialog& dialog) {
    const color::ChannelValue red = color::RGBRed(dialog.color());
    const color::ChannelValue green = color::RGBGreen(dialog.color());
    const color::ChannelValue blue = color::RGBBlue(dialog.color());
    return {red, green, blue};
}

} // namespace

SelectColorCommand::SelectColorCommand(ColorDialog& CommonDialog1, ConverterOutputs& outputs)
    : m_dialog(CommonDialog1)
    , m_outputs(outputs) {}

void SelectColorCommand::onClick() noexcept {
    // The one trap of the program: a cancel, a conversion error or a failing chooser all end the
    // command silently. Nothing may reach the toolkit's event loop.
    try {
        run();
    } catch (...) { // NOLINT(bugprone-empty-catch): ending silently is the intended behaviour
    }
}

void SelectColorCommand::run() {
    m_dialog.setCancelError(true);
    m_dialog.showColor();

    const Channels menu = readChannels(m_dialog);
    m_outputs.replaceText1(color::menuValueText(menu.red, menu.green, menu.blue));

    const Channels hud = readChannels(m_dialog);
    m_outputs.replaceText2(color::hudValueText(hud.red, hud.green, hud.blue));

    m_outputs.setShape1FillColor(m_dialog.color());
}

} // namespace window
