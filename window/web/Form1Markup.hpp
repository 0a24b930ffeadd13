// Form1 as the page's HTML at the table's own size, written into the page when it is built: the
// browser draws the window, with Select Color focused, before any of the program has run. Each
// control kind's element, class and role is chosen here, by the kind's name.
#pragma once

#include <string>

namespace window::web {

// The page's <title> and the form with every control of the table, placed in pixels.
std::string form1Title();
std::string form1Markup();

} // namespace window::web
