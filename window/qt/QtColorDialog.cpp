#include "QtColorDialog.hpp"

#include "QtColorValue.hpp"
#include "x11/TaskbarHints.hpp"
#include "x11/TransientWatch.hpp"
#include "x11/WindowLossWatch.hpp"

#include <QColorDialog>
#include <QEvent>
#include <QTimer>

#include <functional>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace window::qt {
namespace {

// Long enough after the first paint that building the dialog never delays the window's first
// frames, short enough to be done before a hand reaches the button.
constexpr int kBuildDelayMs = 300;

// Runs an action a little after the watched widget's first paint, then never again.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget& watched, std::function<void()> action)
        : m_watched(watched)
        , m_action(std::move(action)) {
        watched.installEventFilter(this);
    }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            m_watched.removeEventFilter(this);
            QTimer::singleShot(kBuildDelayMs, this, m_action);
        }
        return false;
    }

private:
    QWidget& m_watched;
    std::function<void()> m_action;
};

} // namespace

QtColorDialog::QtColorDialog(QWidget& owner)
    : m_owner(owner)
    , m_builder(std::make_unique<AfterFirstPaint>(owner, [this] { prepare(); })) {}

// Everything a first show would otherwise do before the dialog can appear: build, lay out and
// polish it, and create its native window, still hidden.
void QtColorDialog::prepare() {
    QColorDialog& chooser = dialog();
    chooser.ensurePolished();
    chooser.adjustSize();
    chooser.winId();
#ifdef __GLIBC__
    // Start-up is over: hand the scratch memory of building the window and the dialog back to
    // the system, since the program may now sit idle for hours.
    malloc_trim(0);
#endif
}

// Deleting the dialog before its owner also takes it out of the owner's children.
QtColorDialog::~QtColorDialog() = default;

void QtColorDialog::setCancelError(bool raise) {
    m_cancelError = raise;
}

QColorDialog& QtColorDialog::dialog() {
    if (!m_dialog) {
        // No DontUseNativeDialog: where the desktop offers its own chooser, the user gets it.
        m_dialog = std::make_unique<QColorDialog>(&m_owner);
        m_dialog->setWindowModality(Qt::WindowModal);
        // As a dialog owned by its window has none on Windows: some taskbars (icewm's) give a
        // transient window a button of its own.
        x11::keepOffTaskbar(*m_dialog);
    }
    return *m_dialog;
}

void QtColorDialog::showColor() {
    QColorDialog& chooser = dialog();
    chooser.setCurrentColor(toQColor(m_color));
    if (execUnlessTakenAway(chooser) == QDialog::Accepted) {
        const QColor picked = chooser.selectedColor();
        if (!picked.isValid()) {
            throw DialogError("the colour chooser confirmed no valid colour");
        }
        m_color = fromQColor(picked);
        return;
    }
    if (m_cancelError) {
        throw CancelError();
    }
}

// Another program (or a window manager in trouble) may unmap or destroy the open chooser. Its
// modal loop would then wait for an answer that can never come, with the owner blocked; the
// user is better served by a cancel. The chooser's native window may be dead by then, so it is
// thrown away and the next click builds a fresh one. Whichever toolkit draws the chooser, it opens
// centred over the owner and off the taskbar.
int QtColorDialog::execUnlessTakenAway(QColorDialog& chooser) {
    bool takenAway = false;
    const x11::WindowLossWatch watch(chooser, [&chooser, &takenAway](x11::WindowLossWatch::Loss) {
        takenAway = true;
        QMetaObject::invokeMethod(&chooser, &QDialog::reject, Qt::QueuedConnection);
    });
    const x11::TransientWatch placement(m_owner);
    const int result = chooser.exec();
    if (takenAway) {
        m_dialog.reset();
        return QDialog::Rejected;
    }
    return result;
}

color::ColorValue QtColorDialog::color() const {
    return m_color;
}

} // namespace window::qt
