// The Select Color command against a scripted chooser and recorded outputs: what each outcome
// writes, in which order, how often the colour is read, and what a failure at each step leaves.
#include "window/SelectColorCommand.hpp"

#include "fakes/FakeColorDialog.hpp"
#include "fakes/RecordingOutputs.hpp"

#include <QTest>

using fakes::FakeColorDialog;
using fakes::RecordingOutputs;

namespace {

constexpr color::ColorValue kPurple = 128 | (64 << 8) | (192 << 16);
constexpr color::ColorValue kDarkBlue = 1 | (51 << 8) | (127 << 16);
constexpr color::ColorValue kWhite = 0xFFFFFF;

struct Rig {
    FakeColorDialog dialog;
    RecordingOutputs outputs;
    window::SelectColorCommand command{dialog, outputs};

    void pick(color::ColorValue value) {
        dialog.scriptConfirm(value);
        command.onClick();
    }
    void cancel() {
        dialog.scriptCancel();
        command.onClick();
    }
};

} // namespace

class SelectColorCommandTest : public QObject {
    Q_OBJECT

private slots:
    void confirmedColourFillsTextsThenSwatch_data();
    void confirmedColourFillsTextsThenSwatch();
    void cancelOnFirstClickChangesNothing();
    void cancelAfterAPickKeepsThatPick();
    void cancelErrorIsSwitchedOnBeforeEveryShow();
    void readsTheColourSevenTimesOnlyAfterAConfirm();
    void failureAtEachReadKeepsOnlyEarlierOutputs_data();
    void failureAtEachReadKeepsOnlyEarlierOutputs();
    void failingChooserChangesNothingAndNextClickWorks();
    void typedTextIsKeptOnCancelAndReplacedOnPick();
    void sameColourTwiceWritesSameTexts();
};

void SelectColorCommandTest::confirmedColourFillsTextsThenSwatch_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("hud");
    QTest::newRow("purple") << kPurple << "0.502 0.251 0.753 1"
                            << "(0.502,0.251,0.753)";
    QTest::newRow("dark blue") << kDarkBlue << "0.004 0.200 0.498 1"
                               << "(0.004,0.200,0.498)";
    QTest::newRow("black") << 0 << "0.000 0.000 0.000 1"
                           << "(0.000,0.000,0.000)";
    QTest::newRow("white") << kWhite << "1.000 1.000 1.000 1"
                           << "(1.000,1.000,1.000)";
}

void SelectColorCommandTest::confirmedColourFillsTextsThenSwatch() {
    QFETCH(int, value);
    QFETCH(QString, menu);
    QFETCH(QString, hud);
    Rig rig;
    rig.outputs.fill = 0x123456; // so that black is a visible change too
    rig.pick(value);
    QCOMPARE(rig.outputs.text1, menu);
    QCOMPARE(rig.outputs.text2, hud);
    QCOMPARE(rig.outputs.fill, value);
    QCOMPARE(rig.outputs.writes, QStringList({"Text1", "Text2", "Shape1"}));
}

void SelectColorCommandTest::cancelOnFirstClickChangesNothing() {
    Rig rig;
    rig.cancel();
    QVERIFY(rig.outputs.writes.isEmpty());
    QCOMPARE(rig.outputs.text1, QString());
    QCOMPARE(rig.outputs.fill, 0);
}

void SelectColorCommandTest::cancelAfterAPickKeepsThatPick() {
    Rig rig;
    rig.pick(kPurple);
    rig.cancel();
    QCOMPARE(rig.outputs.writes.size(), 3);
    QCOMPARE(rig.outputs.text1, QStringLiteral("0.502 0.251 0.753 1"));
    QCOMPARE(rig.outputs.text2, QStringLiteral("(0.502,0.251,0.753)"));
    QCOMPARE(rig.outputs.fill, kPurple);
}

void SelectColorCommandTest::cancelErrorIsSwitchedOnBeforeEveryShow() {
    Rig rig;
    rig.pick(kPurple);
    rig.cancel();
    rig.pick(kDarkBlue);
    const QStringList& calls = rig.dialog.calls();
    int shows = 0;
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (calls.at(i) == QLatin1String("showColor")) {
            ++shows;
            QVERIFY2(i > 0 && calls.at(i - 1) == QLatin1String("setCancelError(true)"),
                     qPrintable(calls.join(' ')));
        }
    }
    QCOMPARE(shows, 3);
}

void SelectColorCommandTest::readsTheColourSevenTimesOnlyAfterAConfirm() {
    Rig rig;
    rig.pick(kPurple);
    QCOMPARE(rig.dialog.reads(), 7);
    rig.cancel();
    QCOMPARE(rig.dialog.reads(), 7);
    rig.pick(kWhite);
    QCOMPARE(rig.dialog.reads(), 14);
    // No read may come before the chooser has closed.
    QCOMPARE(rig.dialog.calls().indexOf("color"), rig.dialog.calls().indexOf("showColor") + 1);
}

void SelectColorCommandTest::failureAtEachReadKeepsOnlyEarlierOutputs_data() {
    QTest::addColumn<int>("failingRead");
    QTest::addColumn<bool>("foreignType");
    QTest::addColumn<QStringList>("writes");
    const QStringList none;
    const QStringList text1{"Text1"};
    const QStringList texts{"Text1", "Text2"};
    const QList<QStringList> expected{none, none, none, text1, text1, text1, texts};
    for (int read = 1; read <= 7; ++read) {
        const QStringList& writes = expected.at(read - 1);
        QTest::addRow("read %d", read) << read << false << writes;
        QTest::addRow("read %d, foreign exception", read) << read << true << writes;
    }
}

void SelectColorCommandTest::failureAtEachReadKeepsOnlyEarlierOutputs() {
    QFETCH(int, failingRead);
    QFETCH(bool, foreignType);
    QFETCH(QStringList, writes);
    Rig rig;
    rig.pick(kDarkBlue);
    rig.outputs.writes.clear();

    rig.dialog.plantReadFailure(failingRead, foreignType ? FakeColorDialog::Failure::ForeignType
                                                         : FakeColorDialog::Failure::StdException);
    rig.pick(kPurple);

    QCOMPARE(rig.outputs.writes, writes);
    QCOMPARE(rig.dialog.reads(), 7 + failingRead); // nothing is read after the failure
    const bool menuWritten = writes.contains("Text1");
    const bool hudWritten = writes.contains("Text2");
    QCOMPARE(rig.outputs.text1,
             QString::fromLatin1(menuWritten ? "0.502 0.251 0.753 1" : "0.004 0.200 0.498 1"));
    QCOMPARE(rig.outputs.text2,
             QString::fromLatin1(hudWritten ? "(0.502,0.251,0.753)" : "(0.004,0.200,0.498)"));
    QCOMPARE(rig.outputs.fill, kDarkBlue);
}

void SelectColorCommandTest::failingChooserChangesNothingAndNextClickWorks() {
    Rig rig;
    rig.dialog.scriptShowFailure();
    rig.command.onClick();
    QVERIFY(rig.outputs.writes.isEmpty());
    QCOMPARE(rig.dialog.reads(), 0);
    rig.pick(kWhite);
    QCOMPARE(rig.outputs.text2, QStringLiteral("(1.000,1.000,1.000)"));
}

void SelectColorCommandTest::typedTextIsKeptOnCancelAndReplacedOnPick() {
    Rig rig;
    rig.outputs.text1 = QStringLiteral("typed by the user");
    rig.outputs.text2 = QStringLiteral("(0.1,0.2");
    rig.cancel();
    QCOMPARE(rig.outputs.text1, QStringLiteral("typed by the user"));
    QCOMPARE(rig.outputs.text2, QStringLiteral("(0.1,0.2"));
    rig.pick(kDarkBlue);
    QCOMPARE(rig.outputs.text1, QStringLiteral("0.004 0.200 0.498 1"));
    QCOMPARE(rig.outputs.text2, QStringLiteral("(0.004,0.200,0.498)"));
}

void SelectColorCommandTest::sameColourTwiceWritesSameTexts() {
    Rig rig;
    rig.pick(kPurple);
    const QString menu = rig.outputs.text1;
    const QString hud = rig.outputs.text2;
    rig.outputs.text1.clear();
    rig.outputs.text2.clear();
    rig.pick(kPurple);
    QCOMPARE(rig.outputs.text1, menu);
    QCOMPARE(rig.outputs.text2, hud);
    QCOMPARE(rig.outputs.writes.size(), 6);
}

QTEST_APPLESS_MAIN(SelectColorCommandTest)
#include "SelectColorCommandTest.moc"
