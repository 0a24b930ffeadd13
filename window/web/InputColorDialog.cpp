#include "InputColorDialog.hpp"

// InputColorDialog.js: opens the chooser on the red, green and blue in channels, writes the picked
// ones over them and answers 0, or one of the two answers below.
extern "C" int pickWithInput(int* channels);

namespace window::web {
namespace {

constexpr int kCancelled = -1;
constexpr int kNoPicker = -2;

} // namespace

void InputColorDialog::showColor() {
    const color::Channels opening = color::channelsOf(m_color);
    m_channels = {opening.red, opening.green, opening.blue};
    const int answer = pickWithInput(m_channels.data());
    if (answer == kNoPicker) {
        throw DialogError("this browser cannot open a modal dialog");
    }
    if (answer == kCancelled) {
        if (m_cancelError) {
            throw CancelError();
        }
        return;
    }
    m_color = color::colorValueOf({m_channels[0], m_channels[1], m_channels[2]});
}

} // namespace window::web
