// Keeps start-up failures of the desktop connection to one clear line: while it lives, Qt's and
// the platform plugins' messages are held back, and a fatal one ends the program with status 1
// and a line naming what failed (the platform plugin asked for, or the display that did not
// answer), where Qt would abort and dump core. Afterwards messages go to Qt's usual output.
#pragma once

#include <QtGlobal>

namespace app {

class StartupGuard {
public:
    StartupGuard();
    StartupGuard(const StartupGuard&) = delete;
    StartupGuard& operator=(const StartupGuard&) = delete;
    StartupGuard(StartupGuard&&) = delete;
    StartupGuard& operator=(StartupGuard&&) = delete;
    // Puts back the handler that was there before.
    ~StartupGuard();

private:
    QtMessageHandler m_previous;
};

} // namespace app
