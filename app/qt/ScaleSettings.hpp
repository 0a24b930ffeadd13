// Screen scale settings in the environment that no desktop can mean are taken out before Qt reads
// them, with one line on standard error for each; Qt crashes on some (a negative factor) and
// draws no usable window for others (zero, a million). Sane settings are left to Qt.
#pragma once

namespace app::qt {

// Call before the application object is built: QT_SCALE_FACTOR must be a number from 0.25 to 8,
// and so must every entry ("factor" or "screen=factor") of QT_SCREEN_SCALE_FACTORS.
void dropUnusableScaleSettings();

} // namespace app::qt
