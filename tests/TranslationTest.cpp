// The program's start-up on a German desktop (CTest sets LC_ALL=de_DE.UTF-8): what Qt draws
// itself, the chooser and the boxes' context menu, speaks German.
#include "app/qt/Launcher.hpp"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void chooserAndContextMenuSpeakTheUsersLanguage();
};

void TranslationTest::chooserAndContextMenuSpeakTheUsersLanguage() {
    int argc = 1;
    char name[] = "quillmarch-color-converter";
    char* argv[] = {name, nullptr};
    app::qt::Launcher launcher(argc, argv);
    launcher.show();

    auto* box = launcher.form().findChild<QLineEdit*>(u"Text1"_s);
    const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        entries << action->text().remove(u'&').section(u'\t', 0, 0); // "&Kopieren\tStrg+C"
    }
    QVERIFY2(entries.contains(u"Kopieren"_s), qPrintable(entries.join(u", "_s)));

    // The chooser is built once the window has been painted.
    QTRY_VERIFY(launcher.form().findChild<QColorDialog*>() != nullptr);
    const auto* buttons =
        launcher.form().findChild<QColorDialog*>()->findChild<QDialogButtonBox*>();
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), u"Abbrechen"_s);
}

QTEST_APPLESS_MAIN(TranslationTest)
#include "TranslationTest.moc"
