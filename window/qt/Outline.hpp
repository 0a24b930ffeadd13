// The colour the window outlines its boxes in: the style's soft outline where it stands out from
// the window, the text colour where it would not (black or white high-contrast schemes). Widgets
// that draw their own edges take it from here; the palette itself comes from the desktop.
#pragma once

#include <QColor>
#include <QPalette>

namespace window::qt {

// WCAG's contrast ratio of two colours, 1 (none) to 21 (black on white).
[[nodiscard]] double contrastRatio(const QColor& a, const QColor& b);

// Whether the outline a style derives from the window colour (Fusion's: the window colour made
// darker) would be too faint to see: below the 3:1 a control's edge needs.
[[nodiscard]] bool styleOutlineFades(const QPalette& palette);

[[nodiscard]] QColor outlineColour(const QPalette& palette);

} // namespace window::qt
