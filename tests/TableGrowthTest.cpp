// The rule every front end grows the control table by, against fonts whose text sizes are known:
// which text decides, widths and heights, chrome and the spare pixel, and the step down to a
// smaller font where the screen has no room.
#include "window/TableGrowth.hpp"

#include <QTest>

#include <array>
#include <string>

using window::ControlChrome;
using window::TextExtent;

namespace {

// A font whose characters are all `advance` wide but for one wider digit, and `height` tall.
auto fixedFont(double advance, double height, char wideDigit = 0, double wide = 0) {
    return [=](const std::string& text) {
        double width = 0;
        for (const char c : text) {
            width += c == wideDigit ? wide : advance;
        }
        return TextExtent{width, height};
    };
}

} // namespace

class TableGrowthTest : public QObject {
    Q_OBJECT

private slots:
    void theTextThatNeedsMostRoomSetsTheFactor();
    void aFontTooLargeForTheScreenStepsDownByHalfPoints();
};

void TableGrowthTest::theTextThatNeedsMostRoomSetsTheFactor() {
    struct Case {
        const char* what;
        decltype(fixedFont(0, 0)) font;
        ControlChrome chrome;
        double factor;
    };
    // The credit line is 20 characters in 105 x 13 pixels, the boxes 281 x 21, the button 281 wide;
    // "(0.444,0.444,0.444)" has nine of the wide digit.
    const std::array cases{
        Case{"everything fits", fixedFont(5, 12), {}, 1.0},
        Case{"the credit line, with its spare pixel", fixedFont(6, 12), {}, 121.0 / 105},
        Case{"a tall font, the credit line", fixedFont(1, 16), {}, 17.0 / 13},
        Case{"a tall font, the boxes' frame", fixedFont(1, 16), {{}, {}, {0, 20}}, 37.0 / 21},
        Case{"the button's chrome", fixedFont(4, 12), {{}, {300, 0}, {}}, 349.0 / 281},
        Case{"the boxes' chrome", fixedFont(5, 12), {{}, {}, {200, 0}}, 296.0 / 281},
        Case{"one wide digit", fixedFont(5, 12, '4', 100), {}, (900.0 + 50 + 1) / 281},
    };
    for (const Case& c : cases) {
        QVERIFY2(qFuzzyCompare(window::growthFactorFor(c.font, c.chrome), c.factor), c.what);
    }
}

void TableGrowthTest::aFontTooLargeForTheScreenStepsDownByHalfPoints() {
    struct Case {
        const char* what;
        double wanted;
        double smallest;
        double largest;
        double chosen;
    };
    // A screen of 752 x 855 pixels holds the table grown by 2 at most.
    const std::array cases{
        Case{"fits as it is", 12, 7.5, 1.5, 12},
        Case{"the largest that fits", 20, 7.5, 1.46, 14.5},
        Case{"never below the smallest", 20, 18, 1.5, 18},
        Case{"twice the client width", 30, 7.5, window::largestFactorWithin(752, 855), 20},
    };
    const auto factorAt = [](double points) {
        return points / 10;
    };
    for (const Case& c : cases) {
        const window::FontChoice choice =
            window::fontWithin(c.wanted, c.smallest, c.largest, factorAt);
        QVERIFY2(choice.pointSize == c.chosen && choice.factor == c.chosen / 10, c.what);
    }
}

QTEST_GUILESS_MAIN(TableGrowthTest)
#include "TableGrowthTest.moc"
