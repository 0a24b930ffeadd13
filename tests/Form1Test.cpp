// The Qt window on the offscreen platform: controls built from the table, first state, keyboard
// behaviour, fonts, accessibility, and clicks reaching the Select Color command.
#include "window/Form1.hpp"

#include "fakes/FakeColorDialog.hpp"
#include "window/ControlTable.hpp"
#include "window/Swatch.hpp"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <memory>

using window::ControlId;
using window::ControlKind;

namespace {

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect pixels(const window::TwipRect& r) {
    return {r.left / 15, r.top / 15, r.width / 15, r.height / 15};
}

bool isOfKind(const QWidget* widget, ControlKind kind) {
    switch (kind) {
    case ControlKind::GroupBox:
        return qobject_cast<const QGroupBox*>(widget) != nullptr;
    case ControlKind::PushButton:
        return qobject_cast<const QPushButton*>(widget) != nullptr;
    case ControlKind::Shape:
        return qobject_cast<const window::Swatch*>(widget) != nullptr;
    case ControlKind::Label:
        return qobject_cast<const QLabel*>(widget) != nullptr;
    case ControlKind::TextBox:
        return qobject_cast<const QLineEdit*>(widget) != nullptr;
    }
    return false;
}

QString captionOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QPushButton*>(widget)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) {
        return box->title();
    }
    return {};
}

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyControlStandsWhereTheTableSays();
    void windowIsAFixedTitledTopLevelWithoutMinMax();
    void firstShownWithEmptyBoxesBlackSwatchAndFocusOnButton();
    void tabCyclesButtonAndBoxesOnly();
    void labelsFramesAndSwatchNeverTakeFocus();
    void textBoxesAreEditableWithoutLengthLimit();
    void escapeAndEnterInATextBoxDoNothing();
    void enterOnTheFocusedButtonPressesIt();
    void captionsFitTheirControls();
    void controlsHaveAccessibleNames();
    void clickOnCommand1ShowsThePickedColour();
    void cancelLeavesTheWindowAsItWas();
    void closingTheWindowEndsTheEventLoop();

private:
    template <typename T = QWidget> T* control(ControlId id) const {
        return qobject_cast<T*>(m_form->control(id));
    }
    void showAndActivate();

    std::unique_ptr<window::Form1> m_form;
    fakes::FakeColorDialog* m_dialog = nullptr;
};

void Form1Test::init() {
    m_form = std::make_unique<window::Form1>([this](QWidget&) {
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

void Form1Test::everyControlStandsWhereTheTableSays() {
    showAndActivate();
    for (const window::ControlRow& row : window::kControlTable) {
        const QString name = qString(row.name);
        auto* widget = m_form->findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QVERIFY2(widget == m_form->control(row.id), qPrintable(name));
        const QString container =
            row.container ? qString(controlRow(*row.container).name) : QStringLiteral("Form1");
        QCOMPARE(widget->parentWidget()->objectName(), container);
        QCOMPARE(widget->geometry(), pixels(row.place));
        QVERIFY2(isOfKind(widget, row.kind), qPrintable(name));
        QCOMPARE(captionOf(widget), qString(row.caption));
        QVERIFY2(widget->isVisible(), qPrintable(name));
    }
    QCOMPARE(m_form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 3);
}

void Form1Test::windowIsAFixedTitledTopLevelWithoutMinMax() {
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Quillmarch Color Converter"));
    QCOMPARE(m_form->minimumSize(), QSize(376, 285));
    QCOMPARE(m_form->maximumSize(), QSize(376, 285));
    QVERIFY(m_form->isWindow());
    QVERIFY(!m_form->inherits("QDialog"));
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowSystemMenuHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY((flags & Qt::WindowType_Mask) != Qt::Tool);
}

void Form1Test::firstShownWithEmptyBoxesBlackSwatchAndFocusOnButton() {
    showAndActivate();
    QCOMPARE(control<QLineEdit>(ControlId::Text1)->text(), QString());
    QCOMPARE(control<QLineEdit>(ControlId::Text2)->text(), QString());
    QCOMPARE(control<window::Swatch>(ControlId::Shape1)->fillColor(), QColor(Qt::black));
    QCOMPARE(QApplication::focusWidget(), control(ControlId::Command1));
    const QImage picture = m_form->grab().toImage();
    const QPoint centre =
        control(ControlId::Shape1)->geometry().center() + control(ControlId::Frame1)->pos();
    QCOMPARE(picture.pixelColor(centre * picture.devicePixelRatio()), QColor(Qt::black));
}

void Form1Test::tabCyclesButtonAndBoxesOnly() {
    showAndActivate();
    const QList<ControlId> forward{ControlId::Text1, ControlId::Text2, ControlId::Command1,
                                   ControlId::Text1};
    for (const ControlId expected : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(expected));
    }
    const QList<ControlId> backward{ControlId::Command1, ControlId::Text2, ControlId::Text1};
    for (const ControlId expected : backward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), control(expected));
    }
}

void Form1Test::labelsFramesAndSwatchNeverTakeFocus() {
    showAndActivate();
    for (const window::ControlRow& row : window::kControlTable) {
        QWidget* widget = m_form->control(row.id);
        QCOMPARE(widget->focusPolicy() != Qt::NoFocus, window::takesFocus(row.kind));
        if (!window::takesFocus(row.kind)) {
            QTest::mouseClick(widget, Qt::LeftButton);
            QVERIFY2(QApplication::focusWidget() != widget, qPrintable(widget->objectName()));
        }
    }
    QVERIFY(control<QLabel>(ControlId::Label1)->text().indexOf('&') < 0);
}

void Form1Test::textBoxesAreEditableWithoutLengthLimit() {
    for (const ControlId id : {ControlId::Text1, ControlId::Text2}) {
        auto* box = control<QLineEdit>(id);
        QVERIFY(box->isEnabled());
        QVERIFY(!box->isReadOnly());
        const QString longText(100000, QLatin1Char('7'));
        box->setText(longText);
        QCOMPARE(box->text().size(), longText.size());
    }
}

void Form1Test::escapeAndEnterInATextBoxDoNothing() {
    showAndActivate();
    auto* box = control<QLineEdit>(ControlId::Text1);
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("typed"));
    QTest::keyClick(box, Qt::Key_Escape);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Enter);
    QVERIFY(m_form->isVisible());
    QCOMPARE(box->text(), QStringLiteral("typed"));
    QVERIFY(m_dialog->calls().isEmpty());
}

void Form1Test::enterOnTheFocusedButtonPressesIt() {
    showAndActivate();
    m_dialog->scriptConfirm(0xFF0000);
    QTest::keyClick(control(ControlId::Command1), Qt::Key_Return);
    QVERIFY(m_dialog->scriptDone());
    QCOMPARE(control<QLineEdit>(ControlId::Text1)->text(), QStringLiteral("0.000 0.000 1.000 1"));
    QVERIFY(!control<QPushButton>(ControlId::Command1)->isDefault() ||
            QApplication::focusWidget() == control(ControlId::Command1));
}

void Form1Test::captionsFitTheirControls() {
    showAndActivate();
    for (const window::ControlRow& row : window::kControlTable) {
        QWidget* widget = m_form->control(row.id);
        const QFontMetrics metrics(widget->font());
        const QString caption = qString(row.caption);
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect room =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY(metrics.horizontalAdvance(caption) <= room.width());
            QVERIFY(metrics.height() <= room.height());
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            QVERIFY2(metrics.horizontalAdvance(caption) <= label->contentsRect().width(),
                     qPrintable(caption));
            QVERIFY2(metrics.height() <= label->contentsRect().height(), qPrintable(caption));
        }
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
    QCOMPARE(nameOf(ControlId::Text1), QStringLiteral("Color value for Quillmarch MENU items"));
    QCOMPARE(nameOf(ControlId::Text2), QStringLiteral("Color value for Quillmarch HUD items"));
    QCOMPARE(nameOf(ControlId::Command1), QStringLiteral("Select Color"));
    QCOMPARE(control<QLabel>(ControlId::Label1)->buddy(), control(ControlId::Text1));
}

void Form1Test::clickOnCommand1ShowsThePickedColour() {
    showAndActivate();
    m_dialog->scriptConfirm(128 | (64 << 8) | (192 << 16));
    QTest::mouseClick(control(ControlId::Command1), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(ControlId::Text1)->text(), QStringLiteral("0.502 0.251 0.753 1"));
    QCOMPARE(control<QLineEdit>(ControlId::Text2)->text(), QStringLiteral("(0.502,0.251,0.753)"));
    QCOMPARE(control<window::Swatch>(ControlId::Shape1)->fillColor(), QColor(128, 64, 192));
    const QImage picture = m_form->grab().toImage();
    const QPoint centre =
        control(ControlId::Shape1)->geometry().center() + control(ControlId::Frame1)->pos();
    QCOMPARE(picture.pixelColor(centre * picture.devicePixelRatio()), QColor(128, 64, 192));
}

void Form1Test::cancelLeavesTheWindowAsItWas() {
    showAndActivate();
    m_dialog->scriptConfirm(0x00FF00);
    QTest::mouseClick(control(ControlId::Command1), Qt::LeftButton);
    control<QLineEdit>(ControlId::Text2)->setText(QStringLiteral("edited"));
    m_dialog->scriptCancel();
    QTest::mouseClick(control(ControlId::Command1), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>(ControlId::Text1)->text(), QStringLiteral("0.000 1.000 0.000 1"));
    QCOMPARE(control<QLineEdit>(ControlId::Text2)->text(), QStringLiteral("edited"));
    QCOMPARE(control<window::Swatch>(ControlId::Shape1)->fillColor(), QColor(0, 255, 0));
}

void Form1Test::closingTheWindowEndsTheEventLoop() {
    showAndActivate();
    QTimer::singleShot(0, m_form.get(), &QWidget::close);
    // A safety net so a window that refuses to close fails the test instead of hanging it.
    QTimer::singleShot(5000, qApp, [] { QApplication::exit(2); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_form->isVisible());
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
