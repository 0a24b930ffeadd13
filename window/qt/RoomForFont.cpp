#include "RoomForFont.hpp"

#include "window/ControlTable.hpp"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <algorithm>
#include <string>

namespace window::qt {
namespace {

// What QLineEdit keeps around its text inside the frame: two pixels a side, one above and below,
// and the cursor's pixel after the last character.
constexpr int kLineEditSideMargins = 2 * 2 + 1;
constexpr int kLineEditVerticalMargins = 2 * 1;

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QSize basePixels(const ControlRow& row) {
    return {twipsToPixels(row.place.width), twipsToPixels(row.place.height)};
}

QStringList widestValueTexts(const QFontMetrics& metrics) {
    QStringList texts;
    for (const std::string& text : window::widestValueTexts([&metrics](const std::string& t) {
             return metrics.horizontalAdvance(QString::fromStdString(t));
         })) {
        texts << QString::fromStdString(text);
    }
    return texts;
}

// The room a text of this size needs in a control whose frame and margins take the chrome, with
// a spare pixel each way when the control grows: a grown edge is rounded to the pixel.
double factorFor(QSize text, QSize chrome, QSize base, int spare) {
    return std::max(static_cast<double>(text.width() + chrome.width() + spare) / base.width(),
                    static_cast<double>(text.height() + chrome.height() + spare) / base.height());
}

QSize buttonChrome(const QStyle& style, QSize base) {
    QStyleOptionButton option;
    option.rect = QRect(QPoint(), base);
    const QRect contents = style.subElementRect(QStyle::SE_PushButtonContents, &option, nullptr);
    return base - contents.size();
}

QSize lineEditChrome(const QStyle& style) {
    QStyleOptionFrame option;
    const int frame = style.pixelMetric(QStyle::PM_DefaultFrameWidth, &option, nullptr);
    return {2 * frame + kLineEditSideMargins, 2 * frame + kLineEditVerticalMargins};
}

double largestFactor(const QFontMetrics& metrics, const QStyle& style, int spare) {
    double factor = 0.0;
    for (const ControlRow& row : kControlTable) {
        const QSize base = basePixels(row);
        const QString caption = qString(row.caption);
        switch (row.kind) {
        case ControlKind::Label:
            factor = std::max(factor, factorFor(metrics.size(0, caption), {}, base, spare));
            break;
        case ControlKind::PushButton:
            factor = std::max(factor, factorFor(metrics.size(0, caption), buttonChrome(style, base),
                                                base, spare));
            break;
        case ControlKind::TextBox:
            for (const QString& text : widestValueTexts(metrics)) {
                factor = std::max(
                    factor, factorFor(metrics.size(0, text), lineEditChrome(style), base, spare));
            }
            break;
        case ControlKind::GroupBox:
        case ControlKind::Shape:
            break;
        }
    }
    return factor;
}

} // namespace

double roomFactorFor(const QFont& font, const QStyle& style) {
    const QFontMetrics metrics(font);
    return largestFactor(metrics, style, 0) <= 1.0 ? 1.0 : largestFactor(metrics, style, 1);
}

Growth growthWithin(const QFont& wanted, qreal smallestPointSize, const QStyle& style,
                    QSizeF room) {
    constexpr qreal kPointStep = 0.5;
    const double largest = std::min(room.width() / twipsToPixels(kClientWidthTwips),
                                    room.height() / twipsToPixels(kClientHeightTwips));
    QFont font = wanted;
    double factor = roomFactorFor(font, style);
    while (factor > largest && font.pointSizeF() > smallestPointSize) {
        font.setPointSizeF(std::max(font.pointSizeF() - kPointStep, smallestPointSize));
        factor = roomFactorFor(font, style);
    }
    return {font, factor};
}

} // namespace window::qt
