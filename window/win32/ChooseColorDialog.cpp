#include "ChooseColorDialog.hpp"

#include <commdlg.h>
#include <string>

namespace window::win32 {

void ChooseColorDialog::showColor() {
    CHOOSECOLORW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = m_owner;
    // COLORREF keeps red in the lowest byte, like the program's colour values.
    chooser.rgbResult = static_cast<COLORREF>(m_color);
    chooser.lpCustColors = m_customColors.data();
    // Fully open: the red, green and blue fields are there without an extra click.
    chooser.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (ChooseColorW(&chooser) != FALSE) {
        m_color = static_cast<color::ColorValue>(chooser.rgbResult & 0xFFFFFFU);
        return;
    }
    if (const DWORD error = CommDlgExtendedError(); error != 0) {
        throw DialogError("the colour chooser failed with error " + std::to_string(error));
    }
    if (m_cancelError) {
        throw CancelError();
    }
}

} // namespace window::win32
