// The Qt window on the offscreen platform: controls built from the table, keyboard behaviour,
// fonts, accessibility, edges at every scale, and CommonDialog1 over QColorDialog (modal to the
// window, reopening on the last confirmed colour, and telling a cancel from a confirm).
#include "window/qt/Form1.hpp"

#include "ColorCases.hpp"
#include "fakes/FakeColorDialog.hpp"
#include "support/Contrast.hpp"
#include "support/PinnedLayout.hpp"
#include "window/ControlTable.hpp"
#include "window/qt/QtColorDialog.hpp"

#include <QAccessible>
#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

using support::contrast;
using window::ControlId;

namespace {

// Whether the box shows the text whole: the cursor after it stands the text's width from where a
// one-letter text starts, unless the box had to scroll to keep the cursor in sight.
bool showsWhole(QLineEdit& box, const QString& text) {
    const auto startOf = [&box](const QString& shown) {
        box.setText(shown);
        static_cast<void>(box.grab()); // painting is what scrolls the box to its cursor
        return box.inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() -
               box.fontMetrics().horizontalAdvance(shown);
    };
    return startOf(text) >= startOf(u"1"_s) - 1;
}

// A caption fits its label's or button's room for text; a box shows every value text whole.
bool showsWhole(QWidget& control) {
    const QFontMetrics metrics(control.font());
    const QString caption = control.property("text").toString();
    if (auto* button = qobject_cast<QPushButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return metrics.horizontalAdvance(caption) <= room.width() &&
               metrics.height() <= room.height();
    }
    if (auto* label = qobject_cast<QLabel*>(&control)) {
        return metrics.horizontalAdvance(caption) <= label->contentsRect().width() &&
               metrics.height() <= label->contentsRect().height();
    }
    // Every channel's text stands in some grey, so the widest grey is the widest text.
    if (auto* box = qobject_cast<QLineEdit*>(&control)) {
        for (int channel = 0; channel <= 255; ++channel) {
            const color::ColorValue grey = cases::rgb(channel, channel, channel);
            if (!showsWhole(*box, QString::fromStdString(cases::menuTextOf(grey))) ||
                !showsWhole(*box, QString::fromStdString(cases::hudTextOf(grey)))) {
                return false;
            }
        }
    }
    return true;
}

// The runs of edge pixels met on a line across one side of a control, from just inside to just
// outside it: pixels that stand out from the background beyond the side by at least half as much
// as the strongest one does. Beyond the outermost run lies the background and nothing else; a
// pixel there that is not is noted in beyond.
QList<int> edgeRuns(const QImage& shown, QPoint inside, QPoint outward, int length,
                    QString& beyond) {
    const QColor background = shown.pixelColor(inside + outward * length);
    QList<double> strength;
    for (int i = 0; i < length; ++i) {
        strength << contrast(shown.pixelColor(inside + outward * i), background);
    }
    const double half = (1 + *std::max_element(strength.begin(), strength.end())) / 2;
    QList<int> runs;
    int outermost = length;
    for (int i = 0; i < length && half >= 1.15; ++i) {
        if (strength.at(i) >= half) {
            if (i == 0 || strength.at(i - 1) < half) {
                runs << 0;
            }
            ++runs.last();
            outermost = i;
        }
    }
    for (int i = outermost + 1; i < length; ++i) {
        if (strength.at(i) >= 1.1) {
            beyond += shown.pixelColor(inside + outward * i).name() + u' ';
        }
    }
    return runs;
}

// Empty when every side of the control shows one edge, as wide as on the other sides, with nothing
// beyond it; otherwise what the sides show.
QString edgeFaults(const QImage& shown, const QWidget& widget, qreal ratio) {
    const QRectF exact(QPointF(widget.mapTo(widget.window(), QPoint())) * ratio,
                       QSizeF(widget.size()) * ratio);
    // From just past the edge's reach inside to just short of a neighbour three pixels away.
    const int inside = int(std::ceil(ratio)) + 1;
    const int across = inside + int(std::ceil(ratio));
    const int middle = int(exact.center().y());
    const int nearRight = int(exact.left() + exact.width() * 0.9); // clear of the labels' texts
    QString beyond;
    const QList<QList<int>> sides{
        edgeRuns(shown, {qRound(exact.left()) + inside - 1, middle}, {-1, 0}, across, beyond),
        edgeRuns(shown, {qRound(exact.right()) - inside, middle}, {1, 0}, across, beyond),
        edgeRuns(shown, {nearRight, qRound(exact.top()) + inside - 1}, {0, -1}, across, beyond),
        edgeRuns(shown, {nearRight, qRound(exact.bottom()) - inside}, {0, 1}, across, beyond)};
    const bool whole = std::all_of(sides.begin(), sides.end(), [&sides](const QList<int>& runs) {
        return runs.size() == 1 && runs == sides.first();
    });
    if (whole && beyond.isEmpty()) {
        return {};
    }
    QString faults;
    QDebug(&faults) << "runs left, right, top, bottom" << sides << "beyond" << beyond;
    return faults;
}

// Once the chooser is up inside showColor(), runs the action on it. The chooser's own modal
// loop runs the timer, so the test needs no hook in the adapter.
void whenChooserOpens(QWidget& owner, std::function<void(QColorDialog&)> action) {
    QTimer::singleShot(10, &owner, [&owner, action = std::move(action)] {
        auto* chooser = owner.findChild<QColorDialog*>();
        if (chooser == nullptr || !chooser->isVisible()) {
            whenChooserOpens(owner, action);
            return;
        }
        action(*chooser);
    });
}

void confirm(QWidget& owner, const QColor& color) {
    whenChooserOpens(owner, [color](QColorDialog& chooser) {
        chooser.setCurrentColor(color);
        chooser.accept();
    });
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void labelsFramesAndSwatchNeverTakeFocus();
    void everyControlStandsWherePinnedAtAnyFont_data();
    void everyControlStandsWherePinnedAtAnyFont();
    void controlsHaveAccessibleNames();
    void hostilePasteLeavesTheWindowWorking_data();
    void hostilePasteLeavesTheWindowWorking();
    void swatchBorderAndCaptionsStayVisible_data();
    void swatchBorderAndCaptionsStayVisible();
    void theDesktopStyleDrawsTheButton();
    void everyEdgeStaysWhole_data();
    void everyEdgeStaysWhole();
    void chooserConfirmsIn24BitsAndRaisesOnCancelOnlyWhenAsked();
    void chooserIsBuiltOnceModalToTheWindowAndReopensOnTheLastColor();

private:
    template <typename T = QWidget> T* control(ControlId id) const {
        return qobject_cast<T*>(m_form->control(id));
    }
    void showAndActivate();

    std::unique_ptr<window::qt::Form1> m_form;
    fakes::FakeColorDialog* m_dialog = nullptr;
};

void Form1Test::init() {
    m_form = std::make_unique<window::qt::Form1>([this](QWidget&) {
        auto dialog = std::make_unique<fakes::FakeColorDialog>();
        m_dialog = dialog.get();
        return dialog;
    });
}

void Form1Test::cleanup() {
    m_form.reset();
    m_dialog = nullptr;
}

void Form1Test::showAndActivate() {
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void Form1Test::labelsFramesAndSwatchNeverTakeFocus() {
    showAndActivate();
    for (const ControlId id : {ControlId::Frame1, ControlId::Frame2, ControlId::Shape1,
                               ControlId::Label1, ControlId::Label2, ControlId::Label3}) {
        QTest::mouseClick(control(id), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), control(ControlId::Command1));
    }
}

void Form1Test::everyControlStandsWherePinnedAtAnyFont_data() {
    QTest::addColumn<QFont>("chosen");
    QTest::addColumn<bool>("roomOnScreen");
    // Qt's own fallback is what the application holds when no desktop names a font.
    QTest::newRow("no desktop font") << QFont(u"Sans Serif"_s, 9) << true;
    for (const int points : {9, 10, 12, 16}) {
        QTest::addRow("DejaVu Sans %d", points) << QFont(u"DejaVu Sans"_s, points) << true;
    }
    QTest::newRow("DejaVu Sans 72, too large for the screen")
        << QFont(u"DejaVu Sans"_s, 72) << false;
}

// Every control stands in its container where the table puts it times one factor, and shows its
// caption, or the widest value text, whole. A font whose grown table the screen cannot hold gives
// way to the largest size that fits, never below the window's own 7.5 pt.
void Form1Test::everyControlStandsWherePinnedAtAnyFont() {
    QFETCH(QFont, chosen);
    QFETCH(bool, roomOnScreen);
    const QFont previous = QApplication::font();
    const auto restore = qScopeGuard([&previous] { QApplication::setFont(previous); });
    QApplication::setFont(chosen); // as a desktop's platform theme hands it over
    const window::qt::Form1 form(
        [](QWidget&) { return std::make_unique<fakes::FakeColorDialog>(); });
    const bool desktopFont = chosen.family() != u"Sans Serif"_s;
    const double factor = form.width() / static_cast<double>(pinned::kClientPixels.width());
    const double slack = desktopFont ? 1 : 0; // grown, each side may round either way
    if (!desktopFont) {
        QCOMPARE(form.size(), pinned::kClientPixels);
    }
    QCOMPARE(form.windowTitle(), u"Quillmarch Color Converter"_s);
    QVERIFY(form.minimumSize() == form.size() && form.maximumSize() == form.size());
    QCOMPARE(form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 3);
    QVERIFY(qAbs(form.height() - pinned::kClientPixels.height() * factor) <= 1);
    const QSize available = form.screen()->availableGeometry().size();
    if (!roomOnScreen) {
        QVERIFY2(form.font().pointSizeF() >= 7.5 && form.font().pointSizeF() < chosen.pointSizeF(),
                 qPrintable(form.font().toString()));
        // Within the screen (DesktopSessionTest holds a real frame to it), and no smaller than it
        // must be.
        QVERIFY(form.width() < available.width() && form.height() < available.height());
        QVERIFY(form.height() >= available.height() * 0.8 ||
                form.width() >= available.width() * 0.8);
    }
    for (const pinned::Control& row : pinned::kControls) {
        QWidget* widget = form.findChild<QWidget*>(QLatin1String(row.name));
        QVERIFY2(widget != nullptr && !widget->isHidden(), row.name);
        QCOMPARE(widget->parentWidget()->objectName(), QLatin1String(row.container));
        // A button's or label's caption; a box starts empty; frames and the swatch have none.
        QCOMPARE(widget->property("text").toString(), QString::fromUtf8(row.caption));
        const QRectF want(QRectF(pinned::pixelRect(row)).topLeft() * factor,
                          QRectF(pinned::pixelRect(row)).bottomRight() * factor);
        const QRectF got(widget->geometry().topLeft(), widget->geometry().size());
        QVERIFY2(qAbs(got.left() - want.left()) <= slack && qAbs(got.top() - want.top()) <= slack &&
                     qAbs(got.right() - want.right()) <= slack &&
                     qAbs(got.bottom() - want.bottom()) <= slack,
                 row.name);
        if (desktopFont && roomOnScreen) {
            QCOMPARE(widget->font(), chosen); // never shrunk below the user's choice
        }
        QVERIFY2(showsWhole(*widget), row.name);
    }
}

void Form1Test::controlsHaveAccessibleNames() {
    for (const window::ControlRow& row : window::kControlTable) {
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(m_form->control(row.id));
        QVERIFY(accessible != nullptr);
        QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(), row.name.data());
    }
    const auto nameOf = [this](ControlId id) {
        return QAccessible::queryAccessibleInterface(m_form->control(id))->text(QAccessible::Name);
    };
    QCOMPARE(nameOf(ControlId::Text1), u"Color value for Quillmarch MENU items"_s);
    QCOMPARE(nameOf(ControlId::Text2), u"Color value for Quillmarch HUD items"_s);
    QCOMPARE(control<QLabel>(ControlId::Label1)->buddy(), control(ControlId::Text1));
    // A screen reader's bridge announces the window as a dialog named by its title.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_form.get());
    QCOMPARE(window->role(), QAccessible::Dialog);
    QCOMPARE(window->text(QAccessible::Name), u"Quillmarch Color Converter"_s);
    for (const ControlId frame : {ControlId::Frame1, ControlId::Frame2}) {
        QCOMPARE(QAccessible::queryAccessibleInterface(m_form->control(frame))->role(),
                 QAccessible::Grouping);
    }
}

void Form1Test::hostilePasteLeavesTheWindowWorking_data() {
    QTest::addColumn<QByteArray>("mimeType");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("control characters")
        << QByteArray("text/plain") << QByteArray("a\x01\x02\x1b[31m\t\x7f\x00z", 13);
    QTest::newRow("right-to-left")
        << QByteArray("text/plain;charset=utf-8")
        << QString::fromUtf8("\u202e(0.5,0.5,0.5) \u0645\u0631\u062d\u0628\u0627").toUtf8();
    QTest::newRow("not UTF-8") << QByteArray("text/plain")
                               << QByteArray("\xff\xfe\xc3\x28\xa0\xa1\xe2\x82", 8);
}

void Form1Test::hostilePasteLeavesTheWindowWorking() {
    QFETCH(QByteArray, mimeType);
    QFETCH(QByteArray, bytes);
    showAndActivate();
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(mimeType), bytes);
    QGuiApplication::clipboard()->setMimeData(mime);
    for (const ControlId id : {ControlId::Text1, ControlId::Text2}) {
        auto* box = control<QLineEdit>(id);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!box->text().isEmpty());
    }
    m_dialog->scriptConfirm(cases::rgb(1, 51, 127));
    QTest::mouseClick(control(ControlId::Command1), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(ControlId::Text1)->text(), u"0.004 0.200 0.498 1"_s);
    QCOMPARE(control<QLineEdit>(ControlId::Text2)->text(), u"(0.004,0.200,0.498)"_s);
    QGuiApplication::clipboard()->clear();
}

void Form1Test::swatchBorderAndCaptionsStayVisible_data() {
    QTest::addColumn<QColor>("window");
    QTest::addColumn<QColor>("base");
    QTest::addColumn<QColor>("ink");
    QTest::newRow("light palette") << QColor() << QColor() << QColor();
    QTest::newRow("dark palette") << QColor(0x2b, 0x2b, 0x2b) << QColor(0x1e, 0x1e, 0x1e)
                                  << QColor(0xe6, 0xe6, 0xe6);
    QTest::newRow("black high contrast")
        << QColor(Qt::black) << QColor(Qt::black) << QColor(Qt::white);
    QTest::newRow("white high contrast")
        << QColor(Qt::white) << QColor(Qt::white) << QColor(Qt::black);
}

void Form1Test::swatchBorderAndCaptionsStayVisible() {
    QFETCH(QColor, window);
    QFETCH(QColor, base);
    QFETCH(QColor, ink);
    if (window.isValid()) {
        QPalette palette;
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::Button, window);
        palette.setColor(QPalette::Base, base);
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(role, ink);
        }
        m_form->setPalette(palette);
    }
    showAndActivate();
    const QImage picture = m_form->grab().toImage();
    const qreal ratio = picture.devicePixelRatio();
    const auto pixel = [&](QPointF logical) {
        return picture.pixelColor((logical * ratio).toPoint());
    };

    // The swatch starts black; on a dark window only its border shows where it ends. The value
    // boxes and group boxes show their edges before any value is in them.
    const QPoint swatch = control(ControlId::Frame1)->pos() + control(ControlId::Shape1)->pos();
    const QColor border = pixel(swatch + QPoint(10, 0));
    const QColor outside = pixel(swatch + QPoint(10, -2));
    QVERIFY2(contrast(border, outside) >= 3.0, qPrintable(border.name() + " by " + outside.name()));
    for (const ControlId id : {ControlId::Command1, ControlId::Text1, ControlId::Text2,
                               ControlId::Frame1, ControlId::Frame2}) {
        const QRect area(control(id)->mapTo(m_form.get(), QPoint(0, 0)), control(id)->size());
        const QPointF leftEdge(area.left(), area.center().y());
        const QColor around = pixel(leftEdge - QPointF(3, 0));
        double best = 1.0;
        for (qreal x = -0.5; x <= 1.0; x += 0.25) {
            best = std::max(best, contrast(pixel(leftEdge + QPointF(x, 0)), around));
        }
        QVERIFY2(best >= 1.5, qPrintable(control(id)->objectName() + ": " + QString::number(best)));
    }

    // Every label's strongest ink against its background.
    for (const ControlId id : {ControlId::Label1, ControlId::Label3, ControlId::Label2}) {
        QWidget* label = control(id);
        const QRect area(label->mapTo(m_form.get(), QPoint(0, 0)), label->size());
        const QColor background = pixel(area.topLeft());
        double best = 1.0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                best = std::max(best, contrast(pixel(QPointF(x, y)), background));
            }
        }
        QVERIFY2(best >= 4.5, qPrintable(label->objectName() + ": " + QString::number(best)));
    }
}

// Pixel for pixel the desktop style's own push button of the same size and caption, and hovering
// changes it, as it changes the chooser's buttons.
void Form1Test::theDesktopStyleDrawsTheButton() {
    showAndActivate();
    QTest::mouseClick(control(ControlId::Text1), Qt::LeftButton); // focused, it shows as default
    auto* button = control<QPushButton>(ControlId::Command1);
    const auto* style = qobject_cast<QProxyStyle*>(button->style());
    QVERIFY(style != nullptr);
    // A fresh one: the proxy's own base hands its primitives back to the proxy.
    const std::unique_ptr<QStyle> desktop(QStyleFactory::create(style->baseStyle()->name()));
    QPushButton plain(button->text());
    plain.setStyle(desktop.get());
    plain.setAutoDefault(true);
    plain.setFont(button->font());
    plain.resize(button->size());
    QCOMPARE(button->grab().toImage().convertToFormat(QImage::Format_RGB32),
             plain.grab().toImage().convertToFormat(QImage::Format_RGB32));

    const QImage resting = button->grab().toImage();
    QTest::mouseMove(button, button->rect().center());
    QTRY_VERIFY(button->underMouse());
    QVERIFY2(button->grab().toImage() != resting, "hovering Select Color changes nothing");

    // The chooser's spin boxes hold frameless fields, which have no edge to keep visible.
    QSpinBox spin;
    spin.resize(80, 28);
    const QImage field = spin.findChild<QLineEdit*>()->grab().toImage();
    QVERIFY2(field.pixelColor(0, field.height() / 2) != spin.palette().color(QPalette::WindowText),
             "a frameless field got an outline");
}

void Form1Test::everyEdgeStaysWhole_data() {
    QTest::addColumn<QFont>("chosen");
    QTest::newRow("own font") << QFont();
    // GNOME's interface font at its usual size.
    QTest::newRow("grown for Cantarell 11") << QFont(u"Cantarell"_s, 11);
}

// What the screen shows (the window's backing store, which keeps what a repaint leaves behind), at
// first paint and after every change of state. Along a line across each side of each control, from
// just inside to just outside: one run of edge pixels, as wide on all four sides, and nothing of
// the control beyond it. CTest runs it at every scale factor.
void Form1Test::everyEdgeStaysWhole() {
    QFETCH(QFont, chosen);
    const QFont previous = QApplication::font();
    const auto restore = qScopeGuard([&previous] { QApplication::setFont(previous); });
    if (chosen != QFont()) {
        QApplication::setFont(chosen);
        init();
    }
    showAndActivate();
    auto* button = control(ControlId::Command1);
    QString seen;
    const auto check = [&](const char* after) {
        QCoreApplication::processEvents();
        const QImage shown = *dynamic_cast<QImage*>(m_form->backingStore()->paintDevice());
        for (const ControlId id : {ControlId::Frame1, ControlId::Frame2, ControlId::Command1,
                                   ControlId::Shape1, ControlId::Text1, ControlId::Text2}) {
            const QString faults = edgeFaults(shown, *control(id), m_form->devicePixelRatioF());
            if (!faults.isEmpty()) {
                seen += u"after %1: %2 %3\n"_s.arg(QLatin1String(after), control(id)->objectName(),
                                                   faults);
            }
        }
    };
    check("first paint");
    QTest::mouseClick(control(ControlId::Text1), Qt::LeftButton);
    check("a click on Text1");
    QTest::keyClick(m_form.get(), Qt::Key_Backtab);
    check("Shift+Tab back to Command1");
    QTest::mouseClick(control(ControlId::Text2), Qt::LeftButton);
    check("a click on Text2");
    QTest::keyClick(m_form.get(), Qt::Key_Tab);
    check("Tab back to Command1");
    QTest::mouseMove(button, button->rect().center());
    check("hovering Command1");
    QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
    check("pressing Command1");
    m_dialog->scriptConfirm(0x00FF00);
    QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
    check("a pick");
    QVERIFY2(seen.isEmpty(), qPrintable(seen));
    const QImage shown = *dynamic_cast<QImage*>(m_form->backingStore()->paintDevice());
    auto* swatch = control(ControlId::Shape1);
    const QPoint middle = swatch->mapTo(m_form.get(), swatch->rect().center());
    QCOMPARE(shown.pixelColor(middle * m_form->devicePixelRatioF()), QColor(0, 255, 0));
}

// A translucent pick must not leak into bit 24 and up, nor a colour held as hue, saturation and
// value be misread.
void Form1Test::chooserConfirmsIn24BitsAndRaisesOnCancelOnlyWhenAsked() {
    m_form->show();
    window::qt::QtColorDialog dialog(*m_form);
    confirm(*m_form, QColor(128, 64, 192, 10));
    dialog.setCancelError(true);
    dialog.showColor();
    QCOMPARE(dialog.color(), 0xC04080);
    confirm(*m_form, QColor::fromHsv(0, 0, 255));
    dialog.showColor();
    QCOMPARE(dialog.color(), 0xFFFFFF);

    confirm(*m_form, QColor(1, 51, 127));
    dialog.showColor();
    whenChooserOpens(*m_form, [](QColorDialog& chooser) { chooser.reject(); });
    QVERIFY_THROWS_EXCEPTION(window::CancelError, dialog.showColor());
    QCOMPARE(dialog.color(), 0x7F3301);
    dialog.setCancelError(false);
    whenChooserOpens(*m_form, [](QColorDialog& chooser) { chooser.reject(); });
    dialog.showColor();
    QCOMPARE(dialog.color(), 0x7F3301);
}

// The platform's own chooser where the desktop offers one, built once, kept, and gone with the
// adapter.
void Form1Test::chooserIsBuiltOnceModalToTheWindowAndReopensOnTheLastColor() {
    m_form->show();
    auto dialog = std::make_unique<window::qt::QtColorDialog>(*m_form);
    QVERIFY(m_form->findChild<QColorDialog*>() == nullptr);
    QCOMPARE(dialog->color(), 0);
    QColor openedOn;
    const QColorDialog* first = nullptr;
    whenChooserOpens(*m_form, [&](QColorDialog& chooser) {
        openedOn = chooser.currentColor();
        first = &chooser;
        chooser.setCurrentColor(QColor(10, 20, 30));
        chooser.accept();
    });
    dialog->showColor();
    QCOMPARE(openedOn, QColor(Qt::black));
    QVERIFY(!first->testOption(QColorDialog::DontUseNativeDialog));

    bool modal = false;
    whenChooserOpens(*m_form, [&](QColorDialog& chooser) {
        openedOn = chooser.currentColor();
        modal = &chooser == first && chooser.parentWidget() == m_form.get() &&
                (chooser.isModal() || chooser.windowModality() != Qt::NonModal);
        chooser.reject();
    });
    dialog->showColor();
    QCOMPARE(openedOn, QColor(10, 20, 30));
    QVERIFY2(modal, "not the same chooser, or not modal to its owner");
    QCOMPARE(m_form->findChildren<QColorDialog*>().size(), 1);
    dialog.reset();
    QVERIFY(m_form->findChild<QColorDialog*>() == nullptr);
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
