#include "Form1.hpp"

#include "window/ControlTable.hpp"
#include "window/TableGrowth.hpp"

#include <array>
#include <string>

// What Form1.js does on the page.
extern "C" {
void placeControl(const char* name, int left, int top, int width, int height);
void measureText(const char* text, double* extent);
void measureChrome(const char* name, double* extent);
void watchFont(void (*layOut)());
void awaitCommand1Click();
void setBoxText(const char* name, const char* text);
void setFill(const char* name, int red, int green, int blue);
}

namespace window::web {
namespace {

// A null-terminated copy, for the page's side.
std::string copied(std::string_view view) {
    return {view.data(), view.size()};
}

void layOut(double factor) {
    const PixelRect client = scaledPixelRect({0, 0, kClientWidthTwips, kClientHeightTwips}, factor);
    placeControl(copied(kFormName).c_str(), 0, 0, client.width, client.height);
    for (const ControlRow& row : kControlTable) {
        const PixelRect place = scaledPixelRect(row.place, factor);
        placeControl(copied(row.name).c_str(), place.left, place.top, place.width, place.height);
    }
}

// The cursor's pixel after the last character, which the box's padding does not hold.
constexpr double kCaretWidth = 1;

TextExtent extentFrom(const std::array<double, 2>& extent) {
    return {extent[0], extent[1]};
}

TextExtent chromeOf(ControlId id) {
    std::array<double, 2> extent{};
    measureChrome(copied(controlRow(id).name).c_str(), extent.data());
    return extentFrom(extent);
}

// One factor for the whole table, for the texts as the page draws them.
double growthForFont() {
    TextExtent textBox = chromeOf(ControlId::Text1);
    textBox.width += kCaretWidth;
    const ControlChrome chrome{chromeOf(ControlId::Label1), chromeOf(ControlId::Command1), textBox};
    return growthFactorFor(
        [](const std::string& text) {
            std::array<double, 2> extent{};
            measureText(text.c_str(), extent.data());
            return extentFrom(extent);
        },
        chrome);
}

void layOutForFont() {
    layOut(growthForFont());
}

} // namespace

Form1::Form1()
    : m_command(m_commonDialog1, *this) {
    layOutForFont();
    watchFont(&layOutForFont);
}

void Form1::run() {
    for (;;) {
        awaitCommand1Click();
        m_command.onClick();
    }
}

void Form1::replaceText1(std::string_view text) {
    setBoxText(copied(controlRow(ControlId::Text1).name).c_str(), copied(text).c_str());
}

void Form1::replaceText2(std::string_view text) {
    setBoxText(copied(controlRow(ControlId::Text2).name).c_str(), copied(text).c_str());
}

void Form1::setShape1FillColor(color::ColorValue value) {
    const color::Channels channels = color::channelsOf(value);
    setFill(copied(controlRow(ControlId::Shape1).name).c_str(), channels.red, channels.green,
            channels.blue);
}

} // namespace window::web
