// Start-up exactly as the program does it, ending at the window's first paint: run under callgrind
// on the offscreen platform, its instruction count is a start-up cost that does not drift with the
// machine's load the way wall time does.
#include "app/qt/Launcher.hpp"

#include <QEvent>
#include <QTimer>

namespace {

class QuitOnFirstPaint final : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    int qtArgc = argc > 0 ? 1 : 0;
    app::qt::Launcher launcher(qtArgc, argv);
    QuitOnFirstPaint quitter;
    launcher.form().installEventFilter(&quitter);
    launcher.show();
    return QApplication::exec();
}
