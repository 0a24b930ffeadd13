// The rule every front end grows the control table by, against fonts whose text sizes are known:
// which text decides, widths and heights, chrome and the spare pixel, and the step down to a
// smaller font where the screen has no room.
#include "window/TableGrowth.hpp"

#include <QTest>

#include <string>

using window::ControlChrome;
using window::TextExtent;

namespace {

// A font whose characters are all `advance` wide, but for one wider digit, and `height` tall.
window::MeasureText fixedFont(double advance, double height, char wideDigit = 0, double wide = 0) {
    return [=](const std::string& text) {
        double width = 0;
        for (const char c : text) {
            width += c == wideDigit ? wide : advance;
        }
        return TextExtent{width, height};
    };
}

} // namespace

Q_DECLARE_METATYPE(ControlChrome)

class TableGrowthTest : public QObject {
    Q_OBJECT

private slots:
    void theTextThatNeedsMostRoomSetsTheFactor_data();
    void theTextThatNeedsMostRoomSetsTheFactor();
    void valueTextsAreWrittenInTheWidestDigit();
    void aFontTooLargeForTheScreenStepsDownByHalfPoints_data();
    void aFontTooLargeForTheScreenStepsDownByHalfPoints();
};

void TableGrowthTest::theTextThatNeedsMostRoomSetsTheFactor_data() {
    QTest::addColumn<double>("advance");
    QTest::addColumn<double>("height");
    QTest::addColumn<ControlChrome>("chrome");
    QTest::addColumn<double>("factor");
    const ControlChrome none{};
    // The credit line, 20 characters in 105 pixels, is the first caption to overflow.
    QTest::newRow("everything fits") << 5.0 << 12.0 << none << 1.0;
    QTest::newRow("the credit line, with its spare pixel") << 6.0 << 12.0 << none << 121.0 / 105;
    // The credit line is 13 pixels tall, the boxes 21 with their frame.
    QTest::newRow("a tall font, the credit line") << 1.0 << 16.0 << none << 17.0 / 13;
    QTest::newRow("a tall font, the boxes' frame")
        << 1.0 << 16.0 << ControlChrome{{}, {}, {0, 20}} << 37.0 / 21;
    QTest::newRow("the button's chrome")
        << 4.0 << 12.0 << ControlChrome{{}, {300, 0}, {}} << (48.0 + 300 + 1) / 281;
    // "(0.000,0.000,0.000)", 19 characters in a 281-pixel box less its chrome.
    QTest::newRow("the value texts' chrome")
        << 5.0 << 12.0 << ControlChrome{{}, {}, {200, 0}} << (95.0 + 200 + 1) / 281;
}

void TableGrowthTest::theTextThatNeedsMostRoomSetsTheFactor() {
    QFETCH(double, advance);
    QFETCH(double, height);
    QFETCH(ControlChrome, chrome);
    QFETCH(double, factor);
    QCOMPARE(window::growthFactorFor(fixedFont(advance, height), chrome), factor);
}

void TableGrowthTest::valueTextsAreWrittenInTheWidestDigit() {
    const auto texts = window::widestValueTexts(fixedFont(5, 12, '4', 9));
    QCOMPARE(texts[0], std::string("0.444 0.444 0.444 1"));
    QCOMPARE(texts[1], std::string("(0.444,0.444,0.444)"));
    // A font whose one wide digit makes the boxes' texts the widest of all.
    QCOMPARE(window::growthFactorFor(fixedFont(5, 12, '4', 100), {}), (9 * 100.0 + 50 + 1) / 281);
}

void TableGrowthTest::aFontTooLargeForTheScreenStepsDownByHalfPoints_data() {
    QTest::addColumn<double>("wanted");
    QTest::addColumn<double>("smallest");
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("chosen");
    QTest::newRow("fits as it is") << 12.0 << 7.5 << 1.5 << 12.0;
    QTest::newRow("the largest that fits") << 20.0 << 7.5 << 1.46 << 14.5;
    QTest::newRow("never below the smallest") << 20.0 << 18.0 << 1.5 << 18.0;
    // A screen of 752 x 855 pixels holds the table grown by 2 at most.
    QTest::newRow("a screen twice the client width")
        << 30.0 << 7.5 << window::largestFactorWithin(752, 855) << 20.0;
}

void TableGrowthTest::aFontTooLargeForTheScreenStepsDownByHalfPoints() {
    QFETCH(double, wanted);
    QFETCH(double, smallest);
    QFETCH(double, largest);
    QFETCH(double, chosen);
    const auto factorAt = [](double points) {
        return points / 10;
    };
    const window::FontChoice choice = window::fontWithin(wanted, smallest, largest, factorAt);
    QCOMPARE(choice.pointSize, chosen);
    QCOMPARE(choice.factor, chosen / 10);
}

QTEST_GUILESS_MAIN(TableGrowthTest)
#include "TableGrowthTest.moc"
