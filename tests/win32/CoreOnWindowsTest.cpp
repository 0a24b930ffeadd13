// The conversion core built for Windows, run under Wine by WineTest: the program's own examples,
// every channel against the integer oracle, and the texts while the user's decimal symbol is a
// comma. QtTest is not built for Windows here, so this prints one line per failure and closes with
// "N passed, N failed"; its exit status is the verdict.
#include "../ColorCases.hpp"

#include <array>
#include <clocale>
#include <cstdio>
#include <string>
#include <windows.h>

namespace {

class Tally {
public:
    void check(bool passed, const std::string& what) {
        if (passed) {
            ++m_passed;
            return;
        }
        ++m_failed;
        std::printf("FAIL: %s\n", what.c_str());
    }
    void expectText(const std::string& actual, const std::string& expected,
                    const std::string& what) {
        check(actual == expected, what + ": got \"" + actual + "\", want \"" + expected + "\"");
    }
    int close() const {
        std::printf("%d passed, %d failed\n", m_passed, m_failed);
        return m_failed == 0 ? 0 : 1;
    }

private:
    int m_passed = 0;
    int m_failed = 0;
};

void checkExamples(Tally& tally, const std::string& context) {
    for (const cases::Example& example : cases::kExamples) {
        tally.expectText(cases::menuTextOf(example.value), example.menu,
                         context + " menu text of " + example.name);
        tally.expectText(cases::hudTextOf(example.value), example.hud,
                         context + " HUD text of " + example.name);
    }
}

void checkEveryChannel(Tally& tally) {
    for (int channel = 0; channel <= 255; ++channel) {
        const std::string which = "channel " + std::to_string(channel);
        tally.expectText(cases::menuTextOf(cases::oracleColour(channel)),
                         cases::oracleMenuText(channel), which + " menu text");
        tally.expectText(cases::hudTextOf(cases::oracleColour(channel)),
                         cases::oracleHudText(channel), which + " HUD text");
    }
}

// Only a locale whose decimal mark really is a comma proves anything.
void checkUnderLocale(Tally& tally, const char* name, const std::string& label) {
    const bool switched = std::setlocale(LC_ALL, name) != nullptr;
    tally.check(switched, "cannot switch to the locale " + label);
    if (!switched) {
        return;
    }
    tally.check(std::string(std::localeconv()->decimal_point) == ",",
                "the locale " + label + " does not use a decimal comma");
    checkExamples(tally, label);
    std::setlocale(LC_ALL, "C");
}

} // namespace

int main() {
    Tally tally;
    checkExamples(tally, "C locale");
    checkEveryChannel(tally);

    std::array<wchar_t, 8> mark{};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, mark.data(),
                   static_cast<int>(mark.size()));
    tally.check(std::wstring(mark.data()) == L",",
                "the user's decimal symbol is not a comma; the test prefix sets sDecimal to ','");
    checkUnderLocale(tally, "German_Germany.1252", "German_Germany.1252");
    return tally.close();
}
