// How far the control table must grow for the font the window shows its texts in: the smallest
// factor, never below 1, at which every caption and the widest value text fit their controls.
// Form1 applies it; the table and the texts come from window/ and color/.
#pragma once

class QFont;
class QStyle;

namespace window::qt {

[[nodiscard]] double roomFactorFor(const QFont& font, const QStyle& style);

} // namespace window::qt
