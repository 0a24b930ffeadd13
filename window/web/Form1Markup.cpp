#include "Form1Markup.hpp"

#include "window/ControlTable.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace window::web {
namespace {

struct KindMarkup {
    std::string_view element;
    std::string_view className;
    std::string_view role; // empty: the element's own
};

// A kind added to ControlKind without a case here fails the build (-Wswitch).
constexpr KindMarkup markupOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::GroupBox:
        return {"div", "frame", "group"};
    case ControlKind::PushButton:
        return {"button", "button", ""};
    case ControlKind::Shape:
        return {"div", "shape", "img"};
    case ControlKind::Label:
        return {"label", "label", ""};
    case ControlKind::TextBox:
        return {"input", "box", ""};
    }
    return {};
}

// Captions and names here are the table's own, with no markup characters in them; the check keeps
// it so.
constexpr bool isPlainText(std::string_view text) {
    return text.find_first_of("<>&\"") == std::string_view::npos;
}

static_assert(std::all_of(kControlTable.begin(), kControlTable.end(), [](const ControlRow& row) {
    return isPlainText(row.caption) && isPlainText(row.description) && isPlainText(row.name);
}));
static_assert(isPlainText(kFormCaption));

std::string attribute(std::string_view name, std::string_view value) {
    return std::string(" ") + std::string(name) + "=\"" + std::string(value) + "\"";
}

std::string placed(const PixelRect& place) {
    return attribute("style", "left:" + std::to_string(place.left) +
                                  "px;top:" + std::to_string(place.top) +
                                  "px;width:" + std::to_string(place.width) +
                                  "px;height:" + std::to_string(place.height) + "px");
}

std::string labelFor(const ControlRow& row) {
    for (const ControlRow& other : kControlTable) {
        if (other.labelledBy == row.id) {
            return attribute("for", other.name);
        }
    }
    return {};
}

// A button and a label are named by their own text; the rest by the table.
std::string markupOf(const ControlRow& row, std::string_view inside) {
    const KindMarkup kind = markupOf(row.kind);
    std::string open = "<" + std::string(kind.element) + attribute("id", row.name) +
                       attribute("class", kind.className) + placed(scaledPixelRect(row.place, 1));
    if (!kind.role.empty()) {
        open += attribute("role", kind.role);
    }
    if (takesFocus(row.kind)) {
        open += attribute("tabindex", std::to_string(row.tabIndex.value_or(-1)));
    }
    if (row.kind == ControlKind::TextBox) {
        open += attribute("type", "text") + attribute("spellcheck", "false") +
                attribute("autocomplete", "off");
    }
    if (row.kind != ControlKind::PushButton && row.kind != ControlKind::Label) {
        open += attribute("aria-label", accessibleNameOf(row));
    }
    open += labelFor(row) + ">";
    if (row.kind == ControlKind::TextBox) {
        return open; // a void element
    }
    return open + std::string(row.caption) + std::string(inside) + "</" +
           std::string(kind.element) + ">";
}

// The controls directly in the form, each with those inside it, in the table's order. The table
// lists containers before what they hold, so back to front each control's inside is complete
// when it is reached.
std::string formControls() {
    std::array<std::string, kControlCount> inside{};
    std::string form;
    for (std::size_t at = kControlCount; at-- > 0;) {
        const ControlRow& row = kControlTable.at(at);
        std::string& into = row.container ? inside.at(indexOf(*row.container)) : form;
        into.insert(0, markupOf(row, inside.at(indexOf(row.id))));
    }
    return form;
}

} // namespace

std::string form1Title() {
    return "<title>" + std::string(kFormCaption) + "</title>";
}

std::string form1Markup() {
    const PixelRect client = scaledPixelRect({0, 0, kClientWidthTwips, kClientHeightTwips}, 1);
    return "<div" + attribute("id", kFormName) + attribute("role", "dialog") +
           attribute("aria-label", kFormCaption) +
           attribute("style", "width:" + std::to_string(client.width) +
                                  "px;height:" + std::to_string(client.height) + "px") +
           ">" + formControls() + "</div>";
}

} // namespace window::web
