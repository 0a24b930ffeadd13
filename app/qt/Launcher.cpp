#include "Launcher.hpp"

#include "Version.hpp"
#include "window/qt/QtColorDialog.hpp"
#include "window/qt/x11/TaskbarHints.hpp"

#include <QIcon>
#include <QImageReader>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>

#include <memory>

namespace app::qt {
namespace {

// The sizes a title bar, task switcher and window list ask for; the desktop's own menus take
// the installed icons. Read as PNG with format detection off: otherwise Qt offers the data to
// every image format plugin first, loading each of them (and libjpeg) into the process.
QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48}) {
        QImageReader reader(QStringLiteral(":/icons/%1/%2.png")
                                .arg(size)
                                .arg(QString::fromLatin1(kDesktopFileName)),
                            "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
    }
    return icon;
}

std::unique_ptr<window::ColorDialog> makeChooser(QWidget& owner) {
    return std::make_unique<window::qt::QtColorDialog>(owner);
}

// Without its window the program has nothing left to show, and no close request will ever come.
void endWhenDestroyed(window::qt::x11::WindowLossWatch::Loss loss) {
    if (loss == window::qt::x11::WindowLossWatch::Loss::Destroyed) {
        QCoreApplication::exit(0);
    }
}

} // namespace

Launcher::Launcher(int& argc, char** argv)
    : m_application(argc, argv)
    , m_form(makeChooser)
    , m_formWatch(m_form, endWhenDestroyed) {
    m_startupGuard.reset();
    // The chooser's native window is made before it first shows (to keep it off the taskbar and
    // open it at once). That would make every sibling under its parent native too: the group
    // boxes would become windows of their own, and at a fractional scale Qt copies a control's
    // repaint into such a window a row short of what it painted, leaving the row drawn before on
    // the screen.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication::setApplicationName(QStringLiteral("quillmarch-color-converter"));
    QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
    QApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication::setWindowIcon(applicationIcon());
    // What Qt draws itself, the chooser and the boxes' context menu, in the user's language; the
    // window's own captions name Quillmarch's notations and stay as they are.
    if (m_qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&m_qtTexts);
    }
}

void Launcher::show() {
    window::qt::x11::keepOffTaskbar(m_form);
    m_form.show();
}

} // namespace app::qt
