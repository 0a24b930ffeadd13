// Keeps start-up failures of the desktop connection to one clear line: while it lives, Qt's and
// the platform plugins' messages are held back, and a fatal one ends the program with status 1
// and a line naming what failed (the platform plugin asked for, or the display that did not
// answer), where Qt would abort and dump core. Afterwards messages print as Qt prints them, and
// an X connection that breaks at any time ends the program with Qt's one line and status 1.
#pragma once

#include <QtGlobal>

namespace app::qt {

class StartupGuard {
public:
    StartupGuard();
    StartupGuard(const StartupGuard&) = delete;
    StartupGuard& operator=(const StartupGuard&) = delete;
    StartupGuard(StartupGuard&&) = delete;
    StartupGuard& operator=(StartupGuard&&) = delete;
    // Hands the messages on to the handler for the rest of the program's life.
    ~StartupGuard();
};

} // namespace app::qt
