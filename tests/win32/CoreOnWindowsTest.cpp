// The conversion core built for Windows, run under Wine by WineTest: the program's own examples,
// every channel against the integer oracle, and the texts while the user's decimal symbol is a
// comma. QtTest is not built for Windows here; doctest is one header, and its exit status and
// closing "Status: SUCCESS!" are the verdict.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#define DOCTEST_CONFIG_NO_MULTITHREADING
#include "../ColorCases.hpp"

#include <array>
#include <clocale>
#include <doctest.h>
#include <string>
#include <windows.h>

namespace {

void checkExamples() {
    for (const cases::Example& example : cases::kExamples) {
        CAPTURE(example.name);
        CHECK(cases::menuTextOf(example.value) == example.menu);
        CHECK(cases::hudTextOf(example.value) == example.hud);
    }
}

} // namespace

TEST_CASE("the program's own examples in the C locale") {
    checkExamples();
}

TEST_CASE("every channel against the integer oracle") {
    for (int channel = 0; channel <= 255; ++channel) {
        CAPTURE(channel);
        CHECK(cases::menuTextOf(cases::oracleColor(channel)) == cases::oracleMenuText(channel));
        CHECK(cases::hudTextOf(cases::oracleColor(channel)) == cases::oracleHudText(channel));
    }
}

// Only a decimal mark that really is a comma proves anything: the test prefix sets the user's
// sDecimal to ','.
TEST_CASE("the examples while the user's and the C library's decimal mark is a comma") {
    std::array<wchar_t, 8> mark{};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, mark.data(),
                   static_cast<int>(mark.size()));
    REQUIRE(std::wstring(mark.data()) == L",");
    REQUIRE(std::setlocale(LC_ALL, "German_Germany.1252") != nullptr);
    REQUIRE(std::string(std::localeconv()->decimal_point) == ",");
    checkExamples();
    std::setlocale(LC_ALL, "C");
}
