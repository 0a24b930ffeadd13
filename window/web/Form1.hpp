// Form1 in the browser: the page's elements, written from the control table when the page was
// built, grown as a whole when the browser's font needs more room, and the Select Color command
// run on each click of Command1. The look is the page's style sheet; the command and the
// conversion are shared.
#pragma once

#include "InputColorDialog.hpp"
#include "window/ConverterOutputs.hpp"
#include "window/SelectColorCommand.hpp"

#include <string_view>

namespace window::web {

class Form1 final : public ConverterOutputs {
public:
    Form1();

    // Runs the window for as long as the page is open: each click of Command1 runs the command to
    // its end, a click made before the program ran included, and clicks while it waits on the
    // picker start nothing.
    [[noreturn]] void run();

    void replaceText1(std::string_view text) override;
    void replaceText2(std::string_view text) override;
    void setShape1FillColor(color::ColorValue value) override;

private:
    InputColorDialog m_commonDialog1;
    SelectColorCommand m_command;
};

} // namespace window::web
