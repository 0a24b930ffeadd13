// Prints the page's title and Form1's markup, one to a line, for WritePage.cmake; run under node
// when the page is built.
#include "window/web/Form1Markup.hpp"

#include <iostream>

int main() {
    std::cout << window::web::form1Title() << '\n' << window::web::form1Markup() << '\n';
}
