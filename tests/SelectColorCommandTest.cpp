// The Select Color command against a scripted chooser and recorded outputs: what each outcome
// writes, in which order, how often the colour is read, and what a failure at each step leaves.
#include "window/SelectColorCommand.hpp"

#include "ColorCases.hpp"
#include "fakes/FakeColorDialog.hpp"
#include "fakes/RecordingOutputs.hpp"

#include <QTest>

using namespace Qt::StringLiterals;

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
    void confirmedColorFillsTextsThenSwatch();
    void everyShowIsArmedAndOnlyAConfirmIsReadSevenTimes();
    void failureAtEachReadKeepsOnlyEarlierOutputs_data();
    void failureAtEachReadKeepsOnlyEarlierOutputs();
    void failingChooserChangesNothingAndNextClickWorks();
};

void SelectColorCommandTest::confirmedColorFillsTextsThenSwatch() {
    for (const cases::Example& example : cases::kExamples) {
        Rig rig;
        rig.outputs.fill = 0x123456; // so that black is a visible change too
        rig.pick(example.value);
        QCOMPARE(rig.outputs.text1, QLatin1String(example.menu));
        QCOMPARE(rig.outputs.text2, QLatin1String(example.hud));
        QCOMPARE(rig.outputs.fill, example.value);
        QCOMPARE(rig.outputs.writes, QStringList({"Text1", "Text2", "Shape1"}));
    }
}

// Each show is armed to raise on cancel, and the colour is read only once a confirm has closed
// the chooser.
void SelectColorCommandTest::everyShowIsArmedAndOnlyAConfirmIsReadSevenTimes() {
    Rig rig;
    rig.pick(kPurple);
    rig.cancel();
    rig.pick(kWhite);
    const QStringList armedShow{"setCancelError(true)", "showColor"};
    QStringList confirmed = armedShow;
    for (int read = 0; read < 7; ++read) {
        confirmed << "color";
    }
    QCOMPARE(rig.dialog.calls(), confirmed + armedShow + confirmed);
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
    QCOMPARE(rig.outputs.text2, u"(1.000,1.000,1.000)"_s);
}

QTEST_APPLESS_MAIN(SelectColorCommandTest)
#include "SelectColorCommandTest.moc"
