// Keeps start-up failures of the desktop connection to one clear line: while it lives, Qt's
// platform chatter is held back and a fatal message ends the program with status 1, where Qt
// would abort and dump core. It leaves every other message to Qt's usual output.
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
