// The converter window's layout as data: every control's name, kind, container, place in twips,
// tab index and caption. Front ends build their widgets from this table; it draws nothing itself.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace window {

enum class ControlKind : std::uint8_t { GroupBox, PushButton, Shape, Label, TextBox };

enum class ControlId : std::uint8_t {
    Frame1,
    Command1,
    Shape1,
    Frame2,
    Label1,
    Text1,
    Label3,
    Text2,
    Label2,
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlRow {
    ControlId id;
    std::string_view name;
    ControlKind kind;
    std::optional<ControlId> container; // empty: the window itself
    TwipRect place;                     // relative to the container's top-left corner
    std::optional<int> tabIndex;
    std::string_view caption;
    std::optional<ControlId> labelledBy; // the label a screen reader announces for this control
    std::string_view description;        // accessible name of a control with no caption or label
};

inline constexpr std::string_view kFormName = "Form1";
inline constexpr std::string_view kFormCaption = "Quillmarch Color Converter";
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidthTwips = 5640;
inline constexpr int kClientHeightTwips = 4275;

// Containers come before the controls inside them, so a front end can build in one pass; a
// later sibling is drawn above an earlier one, which keeps each text box over the label that
// overlaps it by one pixel.
inline constexpr std::array kControlTable{
    ControlRow{ControlId::Frame1,
               "Frame1",
               ControlKind::GroupBox,
               std::nullopt,
               {120, 180, 5415, 1695},
               0,
               "",
               std::nullopt,
               "Color selection"},
    ControlRow{ControlId::Command1,
               "Command1",
               ControlKind::PushButton,
               ControlId::Frame1,
               {660, 360, 4215, 615},
               1,
               "Select Color",
               std::nullopt,
               ""},
    ControlRow{ControlId::Shape1,
               "Shape1",
               ControlKind::Shape,
               ControlId::Frame1,
               {660, 1020, 4215, 435},
               std::nullopt,
               "",
               std::nullopt,
               "Selected color"},
    ControlRow{ControlId::Frame2,
               "Frame2",
               ControlKind::GroupBox,
               std::nullopt,
               {120, 1920, 5415, 1755},
               2,
               "",
               std::nullopt,
               "Color values"},
    ControlRow{ControlId::Label1,
               "Label1",
               ControlKind::Label,
               ControlId::Frame2,
               {480, 180, 4215, 255},
               4,
               "Color value for Quillmarch MENU items",
               std::nullopt,
               ""},
    ControlRow{ControlId::Text1,
               "Text1",
               ControlKind::TextBox,
               ControlId::Frame2,
               {480, 420, 4215, 315},
               3,
               "",
               ControlId::Label1,
               ""},
    ControlRow{ControlId::Label3,
               "Label3",
               ControlKind::Label,
               ControlId::Frame2,
               {480, 840, 4215, 255},
               7,
               "Color value for Quillmarch HUD items",
               std::nullopt,
               ""},
    ControlRow{ControlId::Text2,
               "Text2",
               ControlKind::TextBox,
               ControlId::Frame2,
               {480, 1080, 4215, 315},
               6,
               "",
               ControlId::Label3,
               ""},
    ControlRow{ControlId::Label2,
               "Label2",
               ControlKind::Label,
               std::nullopt,
               {3960, 3840, 1575, 195},
               5,
               "Created by : Brannoc",
               std::nullopt,
               ""},
};

inline constexpr std::size_t kControlCount = kControlTable.size();

constexpr std::size_t indexOf(ControlId id) {
    return static_cast<std::size_t>(id);
}

constexpr const ControlRow& controlRow(ControlId id) {
    return kControlTable.at(indexOf(id));
}

constexpr bool takesFocus(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::TextBox;
}

constexpr int twipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

struct PixelPoint {
    int x;
    int y;
};

// The client area and a control's place in it, in pixels at the table's own size: what a
// program that drives or measures the window from outside aims at.
inline constexpr PixelRect kClientPixels{0, 0, kClientWidthTwips / kTwipsPerPixel,
                                         kClientHeightTwips / kTwipsPerPixel};

// The control's place in the window's client area, adding up its containers' offsets.
constexpr TwipRect placeInClient(ControlId id) {
    TwipRect place = controlRow(id).place;
    for (auto container = controlRow(id).container; container;
         container = controlRow(*container).container) {
        place.left += controlRow(*container).place.left;
        place.top += controlRow(*container).place.top;
    }
    return place;
}

constexpr PixelPoint centreInClient(ControlId id) {
    const TwipRect place = placeInClient(id);
    return {twipsToPixels(place.left) + twipsToPixels(place.width) / 2,
            twipsToPixels(place.top) + twipsToPixels(place.height) / 2};
}

// The place in pixels with the whole table grown by the factor. Edges are scaled, not sizes, so
// edges that meet or line up at factor 1 still do at any factor.
inline PixelRect scaledPixelRect(const TwipRect& place, double factor) {
    const auto edge = [factor](int twips) {
        return static_cast<int>(std::lround(twipsToPixels(twips) * factor));
    };
    const int left = edge(place.left);
    const int top = edge(place.top);
    return {left, top, edge(place.left + place.width) - left, edge(place.top + place.height) - top};
}

// What a screen reader says for the control: its caption, else its label's caption, else its
// description.
constexpr std::string_view accessibleNameOf(const ControlRow& row) {
    if (!row.caption.empty()) {
        return row.caption;
    }
    if (row.labelledBy) {
        return controlRow(*row.labelledBy).caption;
    }
    return row.description;
}

// The controls that take the keyboard focus, in tab order; the first one has it at start.
constexpr auto focusOrder() {
    constexpr auto kCount = static_cast<std::size_t>(
        std::count_if(kControlTable.begin(), kControlTable.end(),
                      [](const ControlRow& row) { return takesFocus(row.kind); }));
    std::array<ControlId, kCount> order{};
    std::size_t next = 0;
    for (const ControlRow& row : kControlTable) {
        if (takesFocus(row.kind)) {
            order.at(next++) = row.id;
        }
    }
    std::sort(order.begin(), order.end(), [](ControlId a, ControlId b) {
        return controlRow(a).tabIndex < controlRow(b).tabIndex;
    });
    return order;
}

namespace detail {

constexpr bool rowsAreInIdOrderWithContainersFirst() {
    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlRow& row = kControlTable.at(i);
        if (indexOf(row.id) != i || (row.container && indexOf(*row.container) >= i)) {
            return false;
        }
    }
    return true;
}

constexpr bool everyPlaceIsWholePixels() {
    return std::all_of(kControlTable.begin(), kControlTable.end(), [](const ControlRow& row) {
        const TwipRect& r = row.place;
        return r.left % kTwipsPerPixel == 0 && r.top % kTwipsPerPixel == 0 &&
               r.width % kTwipsPerPixel == 0 && r.height % kTwipsPerPixel == 0;
    });
}

} // namespace detail

static_assert(detail::rowsAreInIdOrderWithContainersFirst());
static_assert(detail::everyPlaceIsWholePixels());
static_assert(kClientWidthTwips % kTwipsPerPixel == 0 && kClientHeightTwips % kTwipsPerPixel == 0);

} // namespace window
