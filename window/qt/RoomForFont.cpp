#include "RoomForFont.hpp"

#include "window/ControlTable.hpp"
#include "window/TableGrowth.hpp"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

namespace window::qt {
namespace {

// What QLineEdit keeps around its text inside the frame: two pixels a side, one above and below,
// and the cursor's pixel after the last character.
constexpr int kLineEditSideMargins = 2 * 2 + 1;
constexpr int kLineEditVerticalMargins = 2 * 1;

TextExtent extentOf(QSize size) {
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

ControlChrome chromeOf(const QStyle& style) {
    const TwipRect& button = controlRow(ControlId::Command1).place;
    QStyleOptionButton buttonOption;
    buttonOption.rect = QRect(0, 0, twipsToPixels(button.width), twipsToPixels(button.height));
    const QRect contents =
        style.subElementRect(QStyle::SE_PushButtonContents, &buttonOption, nullptr);
    QStyleOptionFrame frameOption;
    const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth, &frameOption, nullptr);
    return {{},
            extentOf(buttonOption.rect.size() - contents.size()),
            extentOf({2 * frame + kLineEditSideMargins, 2 * frame + kLineEditVerticalMargins})};
}

double factorFor(const QFont& font, const ControlChrome& chrome) {
    const QFontMetrics metrics(font);
    return growthFactorFor(
        [&metrics](const std::string& text) {
            return extentOf(metrics.size(0, QString::fromStdString(text)));
        },
        chrome);
}

QFont atSize(const QFont& font, double points) {
    if (points == font.pointSizeF()) {
        return font; // also a font sized in pixels, which has no point size to set
    }
    QFont sized = font;
    sized.setPointSizeF(points);
    return sized;
}

} // namespace

Growth growthWithin(const QFont& wanted, qreal smallestPointSize, const QStyle& style,
                    QSizeF room) {
    const ControlChrome chrome = chromeOf(style);
    const FontChoice choice = fontWithin(
        wanted.pointSizeF(), smallestPointSize, largestFactorWithin(room.width(), room.height()),
        [&](double points) { return factorFor(atSize(wanted, points), chrome); });
    return {atSize(wanted, choice.pointSize), choice.factor};
}

} // namespace window::qt
