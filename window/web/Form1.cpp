#include "Form1.hpp"

#include "window/ControlTable.hpp"

#include <algorithm>
#include <string>

// What Form1.js does on the page.
extern "C" {
void startForm(const char* name, const char* caption);
void addControl(const char* name, int kind, const char* container, int tabIndex,
                const char* caption, const char* accessibleName, const char* labelFor);
void placeControl(const char* name, int left, int top, int width, int height);
double widthNeeded(const char* name, const char* text);
void cycleFocus(const char* names);
void listenToCommand1();
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

std::string nameOf(const std::optional<ControlId>& id) {
    return copied(id ? controlRow(*id).name : kFormName);
}

void layOut(double factor) {
    const PixelRect client = scaledPixelRect({0, 0, kClientWidthTwips, kClientHeightTwips}, factor);
    placeControl(copied(kFormName).c_str(), 0, 0, client.width, client.height);
    for (const ControlRow& row : kControlTable) {
        const PixelRect place = scaledPixelRect(row.place, factor);
        placeControl(copied(row.name).c_str(), place.left, place.top, place.width, place.height);
    }
}

void buildControls() {
    startForm(copied(kFormName).c_str(), copied(kFormCaption).c_str());
    for (const ControlRow& row : kControlTable) {
        std::string labelFor;
        for (const ControlRow& other : kControlTable) {
            if (other.labelledBy == row.id) {
                labelFor = copied(other.name);
            }
        }
        addControl(copied(row.name).c_str(), static_cast<int>(row.kind),
                   nameOf(row.container).c_str(), row.tabIndex.value_or(-1),
                   copied(row.caption).c_str(), copied(accessibleNameOf(row)).c_str(),
                   labelFor.c_str());
    }
}

// One factor for the whole table, so that every caption and the widest value text fit.
double growthForFont() {
    layOut(1.0);
    double factor = 1.0;
    for (const ControlRow& row : kControlTable) {
        const std::string name = copied(row.name);
        const auto needed = [&name](const std::string& shown) {
            return widthNeeded(name.c_str(), shown.c_str());
        };
        if (!row.caption.empty()) {
            factor = std::max(factor, needed(copied(row.caption)));
        }
        if (row.kind == ControlKind::TextBox) {
            for (const std::string& widest : widestValueTexts(needed)) {
                factor = std::max(factor, needed(widest));
            }
        }
    }
    return factor;
}

} // namespace

Form1::Form1()
    : m_commonDialog1(copied(controlRow(ControlId::Command1).name))
    , m_command(m_commonDialog1, *this) {
    buildControls();
    layOut(growthForFont());
    std::string order;
    for (const ControlId id : focusOrder()) {
        order += (order.empty() ? "" : " ") + copied(controlRow(id).name);
    }
    cycleFocus(order.c_str());
    listenToCommand1();
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
    setFill(copied(controlRow(ControlId::Shape1).name).c_str(), value & 0xFF, (value >> 8) & 0xFF,
            (value >> 16) & 0xFF);
}

} // namespace window::web
