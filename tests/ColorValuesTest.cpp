// Channels and value texts of the conversion core, checked against an independent integer oracle,
// C's printf, hostile inputs and the decimal marks of several locales. SelectColorCommandTest
// holds the program's own examples through the command.
#include "color/ColorValues.hpp"

#include "ColorCases.hpp"
#include "color/ArithmeticError.hpp"

#include <QTest>

#include <clocale>
#include <cstdio>
#include <limits>
#include <locale>
#include <string>

using color::ChannelValue;

using cases::hudTextOf;
using cases::menuTextOf;
using cases::rgb;

class ColorValuesTest : public QObject {
    Q_OBJECT

private slots:
    void everyChannelMatchesIntegerOracle();
    void everyChannelValueFormatsLikeCLocalePrintf();
    void highBitsAndNegativeInputsAreMasked_data();
    void highBitsAndNegativeInputsAreMasked();
    void scaleIsMultipliedNotDividedBy255();
    void roundsToNearestEvenAndRejectsOutOfRangeValues();
    void floatingPointFaultsAreRaised();
    void decimalMarkIsAFullStopInEveryLocale_data();
    void decimalMarkIsAFullStopInEveryLocale();
};

void ColorValuesTest::everyChannelMatchesIntegerOracle() {
    for (int channel = 0; channel <= 255; ++channel) {
        QCOMPARE(menuTextOf(cases::oracleColor(channel)), cases::oracleMenuText(channel));
        QCOMPARE(hudTextOf(cases::oracleColor(channel)), cases::oracleHudText(channel));
    }
}

void ColorValuesTest::everyChannelValueFormatsLikeCLocalePrintf() {
    // glibc's printf rounds the exact binary value correctly; under the C locale it is a second,
    // independent implementation of "0.000" over the whole 16-bit domain, negatives included.
    QVERIFY(std::setlocale(LC_ALL, "C") != nullptr);
    for (int value = std::numeric_limits<ChannelValue>::min();
         value <= std::numeric_limits<ChannelValue>::max(); ++value) {
        const auto channel = static_cast<ChannelValue>(value);
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.3f", color::normalisedChannel(channel));
        const std::string actual = color::channelText(channel);
        if (actual != expected) {
            QFAIL(qPrintable(
                QStringLiteral("channel %1: got %2, printf gives %3")
                    .arg(value)
                    .arg(QString::fromStdString(actual), QString::fromLatin1(expected))));
        }
    }
}

void ColorValuesTest::highBitsAndNegativeInputsAreMasked_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::newRow("-1") << -1 << 255 << 255 << 255;
    QTest::newRow("int32 min") << std::numeric_limits<int>::min() << 0 << 0 << 0;
    QTest::newRow("int32 max") << std::numeric_limits<int>::max() << 255 << 255 << 255;
    QTest::newRow("alpha byte over purple") << static_cast<int>(0xFFC04080U) << 128 << 64 << 192;
    QTest::newRow("stray bit 24") << (0x01000000 | rgb(1, 51, 127)) << 1 << 51 << 127;
}

void ColorValuesTest::highBitsAndNegativeInputsAreMasked() {
    QFETCH(int, value);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QCOMPARE(color::RGBRed(value), red);
    QCOMPARE(color::RGBGreen(value), green);
    QCOMPARE(color::RGBBlue(value), blue);
    const color::Channels channels = color::channelsOf(value); // what the windows paint
    QCOMPARE(QList<int>({channels.red, channels.green, channels.blue}),
             QList<int>({red, green, blue}));
}

void ColorValuesTest::scaleIsMultipliedNotDividedBy255() {
    // 255/255 is exactly 1; 255 times the scale falls just short of it.
    QVERIFY(color::normalisedChannel(255) < 1.0);
    QVERIFY(color::normalisedChannel(255) > 0.99999999998);
    QCOMPARE(color::normalisedChannel(0), 0.0);
}

void ColorValuesTest::roundsToNearestEvenAndRejectsOutOfRangeValues() {
    QCOMPARE(color::roundToChannel(32767.4), 32767);
    QCOMPARE(color::roundToChannel(2.5), 2);
    QCOMPARE(color::roundToChannel(3.5), 4);
    QCOMPARE(color::roundToChannel(-1.5), -2);
    QCOMPARE(color::roundToChannel(254.6), 255);
    QCOMPARE(color::narrowToChannel(32767), 32767);
    QCOMPARE(color::narrowToChannel(-32768), -32768);
    QVERIFY_THROWS_EXCEPTION(color::OverflowError, color::narrowToChannel(32768));
    QVERIFY_THROWS_EXCEPTION(color::OverflowError, color::narrowToChannel(-32769));
    QVERIFY_THROWS_EXCEPTION(color::OverflowError, color::roundToChannel(32767.5));
    QVERIFY_THROWS_EXCEPTION(color::OverflowError, color::roundToChannel(-32768.6));
    QVERIFY_THROWS_EXCEPTION(color::OverflowError,
                             color::roundToChannel(std::numeric_limits<double>::quiet_NaN()));
    QVERIFY_THROWS_EXCEPTION(color::OverflowError,
                             color::roundToChannel(std::numeric_limits<double>::infinity()));
}

void ColorValuesTest::floatingPointFaultsAreRaised() {
    const double huge = std::numeric_limits<double>::max();
    const double infinity = std::numeric_limits<double>::infinity();
    QVERIFY_THROWS_EXCEPTION(color::FloatingPointError, color::checkedMultiply(huge, 2.0));
    QVERIFY_THROWS_EXCEPTION(color::FloatingPointError, color::checkedMultiply(0.0, infinity));
    QVERIFY_THROWS_EXCEPTION(color::FloatingPointError, color::checkedDivide(1.0, 0.0));
    QVERIFY_THROWS_EXCEPTION(color::FloatingPointError, color::checkedDivide(0.0, 0.0));
    // Inexact results and underflow are ordinary and must pass.
    QCOMPARE(color::checkedDivide(1.0, 3.0), 1.0 / 3.0);
    QCOMPARE(color::checkedMultiply(std::numeric_limits<double>::min(), 0.5),
             std::numeric_limits<double>::min() * 0.5);
}

void ColorValuesTest::decimalMarkIsAFullStopInEveryLocale_data() {
    QTest::addColumn<QString>("localeName");
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "fi_FI.UTF-8", "ru_RU.UTF-8"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void ColorValuesTest::decimalMarkIsAFullStopInEveryLocale() {
    QFETCH(QString, localeName);
    const QByteArray name = localeName.toLatin1();
    if (std::setlocale(LC_ALL, name.constData()) == nullptr) {
        QFAIL(qPrintable(localeName + " is not installed; scripts/test.sh generates it"));
    }
    // Only a locale whose own mark is a comma proves anything here.
    QCOMPARE(std::localeconv()->decimal_point, ",");
    const std::locale previous = std::locale::global(std::locale(name.constData()));

    const std::string menu = menuTextOf(rgb(128, 64, 192));
    const std::string hud = hudTextOf(rgb(1, 51, 127));
    const std::string white = menuTextOf(rgb(255, 255, 255));

    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
    QCOMPARE(menu, std::string("0.502 0.251 0.753 1"));
    QCOMPARE(hud, std::string("(0.004,0.200,0.498)"));
    QCOMPARE(white, std::string("1.000 1.000 1.000 1"));
}

QTEST_APPLESS_MAIN(ColorValuesTest)
#include "ColorValuesTest.moc"
