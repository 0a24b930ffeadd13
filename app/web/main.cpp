// The page's start: Form1 built over the page and run for as long as the page is open.
#include "window/web/Form1.hpp"

int main() {
    window::web::Form1 form;
    form.run();
}
