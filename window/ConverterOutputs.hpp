// The three places the Select Color command writes to. The window implements them; the command
// never sees a widget.
#pragma once

#include "color/ColorValues.hpp"

#include <string_view>

namespace window {

class ConverterOutputs {
public:
    ConverterOutputs() = default;
    ConverterOutputs(const ConverterOutputs&) = delete;
    ConverterOutputs& operator=(const ConverterOutputs&) = delete;
    ConverterOutputs(ConverterOutputs&&) = delete;
    ConverterOutputs& operator=(ConverterOutputs&&) = delete;
    virtual ~ConverterOutputs() = default;

    // Replace the whole text of a value box; the text is UTF-8.
    virtual void replaceText1(std::string_view text) = 0;
    virtual void replaceText2(std::string_view text) = 0;
    virtual void setShape1FillColor(color::ColorValue value) = 0;
};

} // namespace window
