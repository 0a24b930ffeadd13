// CommonDialog1 over QColorDialog on the offscreen platform: modal to its owner, reopening on the
// last confirmed colour, and telling a cancel from a confirm.
#include "window/qt/QtColorDialog.hpp"

#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace {

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

void cancel(QWidget& owner) {
    whenChooserOpens(owner, [](QColorDialog& chooser) { chooser.reject(); });
}

} // namespace

class QtColorDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void confirmedColorComesBackAs24Bits();
    void cancelRaisesOnlyWhenAskedTo();
    void reopensTheSameChooserOnTheLastConfirmedColorModalToItsOwner();

private:
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<window::qt::QtColorDialog> m_dialog;
};

void QtColorDialogTest::init() {
    m_owner = std::make_unique<QWidget>();
    m_owner->show();
    m_dialog = std::make_unique<window::qt::QtColorDialog>(*m_owner);
}

void QtColorDialogTest::cleanup() {
    m_dialog.reset();
    QVERIFY(m_owner->findChild<QColorDialog*>() == nullptr);
    m_owner.reset();
}

void QtColorDialogTest::confirmedColorComesBackAs24Bits() {
    confirm(*m_owner, QColor(128, 64, 192, 10)); // a translucent pick must not leak into bit 24+
    m_dialog->setCancelError(true);
    m_dialog->showColor();
    QCOMPARE(m_dialog->color(), 0xC04080);
    confirm(*m_owner, QColor::fromHsv(0, 0, 255));
    m_dialog->showColor();
    QCOMPARE(m_dialog->color(), 0xFFFFFF);
}

void QtColorDialogTest::cancelRaisesOnlyWhenAskedTo() {
    confirm(*m_owner, QColor(1, 51, 127));
    m_dialog->showColor();

    m_dialog->setCancelError(true);
    cancel(*m_owner);
    QVERIFY_THROWS_EXCEPTION(window::CancelError, m_dialog->showColor());
    QCOMPARE(m_dialog->color(), 0x7F3301);

    m_dialog->setCancelError(false);
    cancel(*m_owner);
    m_dialog->showColor();
    QCOMPARE(m_dialog->color(), 0x7F3301);
}

// The platform's own chooser where the desktop offers one, built once and kept.
void QtColorDialogTest::reopensTheSameChooserOnTheLastConfirmedColorModalToItsOwner() {
    QVERIFY(m_owner->findChild<QColorDialog*>() == nullptr);
    QCOMPARE(m_dialog->color(), 0);
    QColor openedOn;
    const QColorDialog* first = nullptr;
    whenChooserOpens(*m_owner, [&](QColorDialog& chooser) {
        openedOn = chooser.currentColor();
        first = &chooser;
        chooser.setCurrentColor(QColor(10, 20, 30));
        chooser.accept();
    });
    m_dialog->showColor();
    QCOMPARE(openedOn, QColor(Qt::black));
    QVERIFY(!first->testOption(QColorDialog::DontUseNativeDialog));

    bool modal = false;
    whenChooserOpens(*m_owner, [&](QColorDialog& chooser) {
        openedOn = chooser.currentColor();
        modal = &chooser == first && chooser.parentWidget() == m_owner.get() &&
                (chooser.isModal() || chooser.windowModality() != Qt::NonModal);
        chooser.reject();
    });
    m_dialog->showColor();
    QCOMPARE(openedOn, QColor(10, 20, 30));
    QVERIFY2(modal, "not the same chooser, or not modal to its owner");
    QCOMPARE(m_owner->findChildren<QColorDialog*>().size(), 1);
}

QTEST_MAIN(QtColorDialogTest)
#include "QtColorDialogTest.moc"
