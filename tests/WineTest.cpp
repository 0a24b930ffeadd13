// A native Windows build, cross-compiled with mingw-w64 and run under a fresh Wine prefix of its
// word size on a private X server (CTest runs this once for the 32-bit release, once for the 64-bit
// build): the core's Windows tests (with a comma as the user's decimal symbol), the executable's
// make-up, the controls' rectangles against the pinned layout, and the layout on a 150 % desktop.
// BehaviourTest drives the window.
#include "support/PinnedLayout.hpp"
#include "support/Process.hpp"
#include "support/WinePrefix.hpp"
#include "support/XSession.hpp"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const support::WindowsBuild kBuild;
const QString kProgram = kBuild.program();
const QString kTitle = u"Quillmarch Color Converter"_s;

// A LOGFONTW of the face at the size: the height in points (Wine takes a positive height so),
// normal weight.
QString messageFont(const QString& face, int points) {
    QByteArray font(92, '\0');
    font[0] = static_cast<char>(points);
    font[16] = static_cast<char>(0x90); // 400, FW_NORMAL
    font[17] = 0x01;
    for (qsizetype i = 0; i < face.size(); ++i) {
        font[28 + 2 * i] = static_cast<char>(face.at(i).unicode());
    }
    return QString::fromLatin1(font.toHex());
}

} // namespace

class WineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void coreTestsPassWithACommaAsDecimalSymbol();
    void executableIsOneSmallSelfContainedProgramOfItsWordSize();
    void everyControlStandsWherePinned();
    void growsWithTheUsersFontAndDpiWithinTheScreen_data();
    void growsWithTheUsersFontAndDpiWithinTheScreen();

private:
    // Starts the program under Wine; its window, or 0 if none came.
    quint32 startProgram() {
        m_program.reset();
        m_program = std::make_unique<support::RunningProgram>(
            *m_session, kBuild.wineLoader(), m_wine->environment(), QStringList{kProgram});
        return m_session->waitForWindow(u"^"_s + kTitle + u"$"_s);
    }
    [[nodiscard]] QString misplacedControl(double factor, int tolerance) const;

    std::unique_ptr<support::XSession> m_session;
    std::unique_ptr<support::WinePrefix> m_wine;
    std::unique_ptr<support::RunningProgram> m_program;
};

void WineTest::initTestCase() {
    QVERIFY2(QFileInfo::exists(kProgram), qPrintable(kProgram + " was not built"));
    if (const QString why = kBuild.whyWineCannotRunIt(); !why.isEmpty()) {
        QSKIP(qPrintable(why));
    }
    m_session = std::make_unique<support::XSession>();
    QVERIFY2(m_session->failure().isEmpty(), qPrintable(m_session->failure()));
    m_wine = std::make_unique<support::WinePrefix>(*m_session, kBuild);
    const QString failure = m_wine->boot();
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(m_wine->setRegistryValue(
        {u"HKCU\\Control Panel\\International"_s, u"sDecimal"_s, u"REG_SZ"_s, u","_s}));
    // Wine's own Tahoma, which stands in for the dialog font, is wider than Windows' and grows the
    // window at the default font (BehaviourTest drives it so). Here a condensed face fits the
    // captions as Windows' Tahoma does, so the layout is held at the size Windows users get.
    QVERIFY(m_wine->setRegistryValue(
        {u"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes"_s,
         u"MS Shell Dlg 2"_s, u"REG_SZ"_s, u"DejaVu Sans Condensed"_s}));
}

void WineTest::cleanupTestCase() {
    m_program.reset();
    m_wine.reset();
    m_session.reset();
}

// A Wine that cannot run the program exits 0 and prints nothing: the closing line must be there.
void WineTest::coreTestsPassWithACommaAsDecimalSymbol() {
    const support::ToolOutcome run = m_wine->run({kBuild.testProgram(u"CoreOnWindowsTest"_s)});
    QVERIFY2(run.exitCode == 0 && run.output.contains(u"Status: SUCCESS!"_s),
             qPrintable(run.output));
    const QRegularExpressionMatch asserted =
        QRegularExpression(u"assertions: +(\\d+) \\|"_s).match(run.output);
    QVERIFY2(asserted.captured(1).toInt() > 500, qPrintable(run.output));
}

// Each build says what it is: PE32 and an x86 manifest, or PE32+ and an amd64 one.
void WineTest::executableIsOneSmallSelfContainedProgramOfItsWordSize() {
    const QFileInfo program(kProgram);
    QVERIFY2(program.size() <= 400 * 1024, qPrintable(QString::number(program.size())));

    const QString headers = support::runTool(kBuild.objdump(), {u"-p"_s, kProgram}).output;
    const QString magic = kBuild.is64Bit ? u"020b"_s : u"010b"_s;
    QVERIFY2(headers.contains(QRegularExpression(u"Magic\\s+"_s + magic)),
             qPrintable("no PE magic " + magic));
    const QStringList systemDlls{"kernel32.dll", "user32.dll",   "gdi32.dll",
                                 "comdlg32.dll", "comctl32.dll", "msvcrt.dll"};
    QRegularExpressionMatchIterator dlls =
        QRegularExpression(u"DLL Name: (\\S+)"_s).globalMatch(headers);
    int imported = 0;
    while (dlls.hasNext()) {
        const QString dll = dlls.next().captured(1).toLower();
        QVERIFY2(systemDlls.contains(dll), qPrintable("imports " + dll));
        ++imported;
    }
    QVERIFY(imported >= 4);

    const support::ToolOutcome symbols = support::runTool(kBuild.objdump(), {u"-t"_s, kProgram});
    QVERIFY2(symbols.exitCode == 0 && !symbols.output.contains(u"SelectColorCommand"_s),
             "not stripped");

    // Wine lays the window out and draws it alike with or without the manifest, so only the
    // executable shows that Windows will give it themed controls and per-monitor DPI.
    QFile file(kProgram);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("PerMonitorV2"));
    const QString manifest = QString::fromLatin1(bytes);
    const QRegularExpressionMatch named =
        QRegularExpression(
            uR"re(name="Quillmarch\.ColorConverter"[^>]*processorArchitecture="(\w+)")re"_s)
            .match(manifest);
    QCOMPARE(named.captured(1), kBuild.is64Bit ? u"amd64"_s : u"x86"_s);
    QVERIFY(bytes.contains("Microsoft.Windows.Common-Controls"));
}

// Every control is a direct child of the Win32 window, numbered from 100 in the layout's order.
// The first control whose rectangle is further than the tolerance from its pinned one grown by
// the factor, or whose caption is not its own, with what the window reported; empty when all
// stand where they should. Captions are read as automation reads them: an ampersand that made an
// access key would show.
QString WineTest::misplacedControl(double factor, int tolerance) const {
    const QStringList said =
        m_wine->run({kBuild.testProgram(u"WindowProbe"_s), u"controls"_s, kTitle})
            .output.split(u'\n');
    for (std::size_t i = 0; i < pinned::kControls.size(); ++i) {
        const QRect want = pinned::rectInClient(pinned::kControls.at(i));
        const QString id = QString::number(100 + static_cast<int>(i));
        const QString line = said.filter(QRegularExpression(u"^"_s + id + u' ')).value(0);
        const std::array wanted{want.x(), want.y(), want.width(), want.height()};
        bool misplaced =
            line.section(u' ', 5) != QString::fromUtf8(pinned::kControls.at(i).caption);
        for (std::size_t edge = 0; edge < wanted.size(); ++edge) {
            const int reported = line.section(u' ', int(edge) + 1, int(edge) + 1).toInt();
            misplaced = misplaced || qAbs(reported - wanted.at(edge) * factor) > tolerance;
        }
        if (misplaced) {
            return QLatin1String(pinned::kControls.at(i).name) + u" in:\n"_s + said.join(u'\n');
        }
    }
    return {};
}

void WineTest::everyControlStandsWherePinned() {
    QVERIFY2(startProgram() != 0, "the Windows program's window never appeared");
    const QString misplaced = misplacedControl(1.0, 0);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced));
}

void WineTest::growsWithTheUsersFontAndDpiWithinTheScreen_data() {
    QTest::addColumn<QStringList>("setting"); // key, name, type, value
    QTest::addColumn<double>("factor");       // 0: more than 1.3, whatever the font needs
    const QString desktop = u"HKCU\\Control Panel\\Desktop"_s;
    const QString metrics = desktop + u"\\WindowMetrics"_s;
    QTest::newRow("DejaVu Sans 12") << QStringList{metrics, u"MessageFont"_s, u"REG_BINARY"_s,
                                                   messageFont(u"DejaVu Sans"_s, 12)}
                                    << 0.0;
    QTest::newRow("DejaVu Sans 48, too large for the screen")
        << QStringList{metrics, u"MessageFont"_s, u"REG_BINARY"_s,
                       messageFont(u"DejaVu Sans"_s, 48)}
        << 0.0;
    // A 150 % desktop.
    QTest::newRow("144 dpi") << QStringList{desktop, u"LogPixels"_s, u"REG_DWORD"_s, u"144"_s}
                             << 1.5;
}

// A user who made text larger for reading sets a larger message font, or a larger scale. The
// window takes it and grows as a whole; a font too large for the screen gives way to the largest
// size that fits, never to the 8-point dialog font or less. Not checked for centring: at 144 dpi
// Wine sizes its title bar for the scale while openbox draws its own, so the frame Windows centres
// is not the frame on screen.
void WineTest::growsWithTheUsersFontAndDpiWithinTheScreen() {
    QFETCH(QStringList, setting);
    QFETCH(double, factor);
    QVERIFY(m_wine->setRegistryValue(setting));
    const auto restore = qScopeGuard([&] {
        static_cast<void>(
            m_wine->run({u"reg"_s, u"delete"_s, setting[0], u"/v"_s, setting[1], u"/f"_s}));
    });
    // Wine reads the settings when its server starts.
    QCOMPARE(support::runTool(u"wineserver"_s, {u"--kill"_s}, m_wine->environment()).exitCode, 0);
    const quint32 window = startProgram();
    QVERIFY2(window != 0, "the window never appeared");

    const QRect client = m_session->clientRect(window);
    const double grown = client.width() / static_cast<double>(pinned::kClientPixels.width());
    const QString seen = u"%1 by %2"_s.arg(client.width()).arg(client.height());
    QVERIFY2(factor == 0 ? grown > 1.3 : qAbs(grown - factor) * pinned::kClientPixels.width() <= 1,
             qPrintable(seen));
    QVERIFY2(qAbs(client.height() - pinned::kClientPixels.height() * grown) <= 1, qPrintable(seen));
    QVERIFY2(m_session->screenRect().contains(m_session->frameRect(window)), qPrintable(seen));
    const QString misplaced = misplacedControl(grown, 2);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced));
    const QPoint shape1 = client.topLeft() + pinned::centreInClient(u"Shape1"_s) * grown;
    QCOMPARE(m_session->pixel(shape1, Qt::black), QColor(Qt::black));
}

QTEST_GUILESS_MAIN(WineTest)
#include "WineTest.moc"
