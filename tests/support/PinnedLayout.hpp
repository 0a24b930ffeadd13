// The converter window's layout as the product defines it, typed once for the tests and kept apart
// from window/ControlTable.hpp: a control moved there, or in a front end, fails a test instead of
// moving the test along with it. Places are in twips, 15 to the pixel, relative to the container.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

namespace pinned {

struct Control {
    const char* name;
    const char* container; // "Form1" for the window itself
    int left;
    int top;
    int width;
    int height;
    int tabIndex; // -1: not in the tab order
    const char* caption;
};

inline constexpr int kTwipsPerPixel = 15;
inline constexpr QSize kClientTwips{5640, 4275};

inline constexpr std::array kControls{
    Control{"Frame1", "Form1", 120, 180, 5415, 1695, 0, ""},
    Control{"Command1", "Frame1", 660, 360, 4215, 615, 1, "Select Color"},
    Control{"Shape1", "Frame1", 660, 1020, 4215, 435, -1, ""},
    Control{"Frame2", "Form1", 120, 1920, 5415, 1755, 2, ""},
    Control{"Label1", "Frame2", 480, 180, 4215, 255, 4, "Color value for Quillmarch MENU items"},
    Control{"Text1", "Frame2", 480, 420, 4215, 315, 3, ""},
    Control{"Label3", "Frame2", 480, 840, 4215, 255, 7, "Color value for Quillmarch HUD items"},
    Control{"Text2", "Frame2", 480, 1080, 4215, 315, 6, ""},
    Control{"Label2", "Form1", 3960, 3840, 1575, 195, 5, "Created by : Brannoc"},
};

inline constexpr QSize kClientPixels{kClientTwips.width() / kTwipsPerPixel,
                                     kClientTwips.height() / kTwipsPerPixel};

inline const Control& control(const QString& name) {
    for (const Control& row : kControls) {
        if (name == QLatin1String(row.name)) {
            return row;
        }
    }
    qFatal("no control %s in the pinned layout", qPrintable(name));
}

// In pixels, relative to the container.
inline QRect pixelRect(const Control& row) {
    return {row.left / kTwipsPerPixel, row.top / kTwipsPerPixel, row.width / kTwipsPerPixel,
            row.height / kTwipsPerPixel};
}

// In pixels, relative to the window's client area.
inline QRect rectInClient(const Control& row) {
    const QString container = QLatin1String(row.container);
    const QRect own = pixelRect(row);
    return container == QLatin1String("Form1")
               ? own
               : own.translated(rectInClient(control(container)).topLeft());
}

inline QPoint centreInClient(const QString& name) {
    return rectInClient(control(name)).center();
}

} // namespace pinned
