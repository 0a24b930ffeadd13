// What the program builds at start: the application object (behind the start-up guard), its
// identity, icon and Qt's own texts in the user's language, and Form1 with the real colour
// chooser, centred and kept off the taskbar; a Form1 that another program destroys ends the
// program like a close.
// main() runs it; the start-up benchmark builds the very same thing. The event loop is the
// caller's.
#pragma once

#include "StartupGuard.hpp"
#include "window/qt/Form1.hpp"
#include "window/qt/x11/WindowLossWatch.hpp"

#include <QApplication>
#include <QTranslator>

#include <optional>

namespace app::qt {

class Launcher {
public:
    // argc and argv must outlive the launcher, as QApplication requires.
    Launcher(int& argc, char** argv);

    [[nodiscard]] window::qt::Form1& form() { return m_form; }
    void show();

private:
    std::optional<StartupGuard> m_startupGuard{std::in_place};
    QApplication m_application;
    QTranslator m_qtTexts;
    window::qt::Form1 m_form;
    window::qt::x11::WindowLossWatch m_formWatch;
};

} // namespace app::qt
