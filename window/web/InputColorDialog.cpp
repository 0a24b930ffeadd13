#include "InputColorDialog.hpp"

// InputColorDialog.js: the colour, or one of the two answers below.
extern "C" int pickWithInput(const char* anchorId, int initial);

namespace window::web {
namespace {

constexpr int kCancelled = -1;
constexpr int kNoPicker = -2;

} // namespace

void InputColorDialog::showColor() {
    const int picked = pickWithInput(m_anchorId.c_str(), m_color);
    if (picked == kNoPicker) {
        throw DialogError("this browser cannot open a colour picker");
    }
    if (picked == kCancelled) {
        if (m_cancelError) {
            throw CancelError();
        }
        return;
    }
    m_color = picked;
}

} // namespace window::web
