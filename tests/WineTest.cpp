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

QString windowsTest(const QString& name) {
    return kBuild.testProgram(name);
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
    void growsForTheUsersMessageFontWithinTheScreen_data();
    void growsForTheUsersMessageFontWithinTheScreen();
    void layoutScalesWithTheDesktopDpi();

private:
    // Starts the program under Wine; its window, or 0 if none came.
    quint32 startProgram() {
        m_program.reset();
        m_program = std::make_unique<support::RunningProgram>(
            *m_session, kBuild.wineLoader(), m_wine->environment(), QStringList{kProgram});
        return m_session->waitForWindow(u"^"_s + kTitle + u"$"_s);
    }
    [[nodiscard]] QString misplacedControl(double factor, int tolerance) const;
    [[nodiscard]] int setRegistryValue(const QString& key, const QString& name, const QString& type,
                                       const QString& value) const {
        return m_wine->setRegistryValue(key, name, type, value).exitCode;
    }

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
    QCOMPARE(setRegistryValue(u"HKCU\\Control Panel\\International"_s, u"sDecimal"_s, u"REG_SZ"_s,
                              u","_s),
             0);
    // Wine's own Tahoma, which stands in for the dialog font, is wider than Windows' and grows the
    // window at the default font (BehaviourTest drives it so). Here a condensed face fits the
    // captions as Windows' Tahoma does, so the layout is held at the size Windows users get.
    QCOMPARE(setRegistryValue(
                 u"HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes"_s,
                 u"MS Shell Dlg 2"_s, u"REG_SZ"_s, u"DejaVu Sans Condensed"_s),
             0);
}

void WineTest::cleanupTestCase() {
    m_program.reset();
    m_wine.reset();
    m_session.reset();
}

// A Wine that cannot run the program exits 0 and prints nothing: the closing line must be there.
void WineTest::coreTestsPassWithACommaAsDecimalSymbol() {
    const support::ToolOutcome run = m_wine->run({windowsTest(u"CoreOnWindowsTest"_s)});
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
// the factor, with what the window reported; empty when all stand where they should.
QString WineTest::misplacedControl(double factor, int tolerance) const {
    const QStringList said =
        m_wine->run({windowsTest(u"WindowProbe"_s), u"rects"_s, kTitle}).output.split(u'\n');
    for (std::size_t i = 0; i < pinned::kControls.size(); ++i) {
        const QRect want = pinned::rectInClient(pinned::kControls.at(i));
        const QString id = QString::number(100 + static_cast<int>(i));
        const QStringList got =
            said.filter(QRegularExpression(u"^"_s + id + u' ')).value(0).split(u' ');
        const std::array wanted{want.x(), want.y(), want.width(), want.height()};
        for (std::size_t edge = 0; edge < wanted.size(); ++edge) {
            const int reported = got.value(static_cast<qsizetype>(edge) + 1, u"-1"_s).toInt();
            if (qAbs(reported - wanted.at(edge) * factor) > tolerance) {
                return QLatin1String(pinned::kControls.at(i).name) + u" in:\n"_s + said.join(u'\n');
            }
        }
    }
    return {};
}

// Captions are read as automation reads them: an ampersand that made an access key would show.
void WineTest::everyControlStandsWherePinned() {
    QVERIFY2(startProgram() != 0, "the Windows program's window never appeared");
    const QString misplaced = misplacedControl(1.0, 0);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced));
    for (std::size_t i = 0; i < pinned::kControls.size(); ++i) {
        const support::ToolOutcome caption = m_wine->run(
            {windowsTest(u"WindowProbe"_s), u"text"_s, kTitle, QString::number(100 + i)});
        QCOMPARE(caption.exitCode, 0);
        QCOMPARE(caption.output, QString::fromUtf8(pinned::kControls.at(i).caption));
    }
}

void WineTest::growsForTheUsersMessageFontWithinTheScreen_data() {
    QTest::addColumn<int>("points");
    QTest::newRow("DejaVu Sans 12") << 12;
    QTest::newRow("DejaVu Sans 48, too large for the screen") << 48;
}

// A user who made text larger for reading sets a larger message font. The window takes it and grows
// as a whole; a font too large for the screen gives way to the largest size that fits, never to
// the 8-point dialog font or less.
void WineTest::growsForTheUsersMessageFontWithinTheScreen() {
    QFETCH(int, points);
    // A LOGFONTW: the height in points (Wine takes a positive height so), normal weight, the face.
    QByteArray font(92, '\0');
    font[0] = static_cast<char>(points);
    font[16] = static_cast<char>(0x90); // 400, FW_NORMAL
    font[17] = 0x01;
    const QString face = u"DejaVu Sans"_s;
    for (qsizetype i = 0; i < face.size(); ++i) {
        font[28 + 2 * i] = static_cast<char>(face.at(i).unicode());
    }
    const QString metrics = u"HKCU\\Control Panel\\Desktop\\WindowMetrics"_s;
    QCOMPARE(setRegistryValue(metrics, u"MessageFont"_s, u"REG_BINARY"_s,
                              QString::fromLatin1(font.toHex())),
             0);
    const auto restore = qScopeGuard([&] {
        static_cast<void>(
            m_wine->run({u"reg"_s, u"delete"_s, metrics, u"/v"_s, u"MessageFont"_s, u"/f"_s}));
    });
    QCOMPARE(support::runTool(u"wineserver"_s, {u"--kill"_s}, m_wine->environment()).exitCode, 0);
    const quint32 window = startProgram();
    QVERIFY2(window != 0, "the window never appeared with the larger font");

    const QRect client = m_session->clientRect(window);
    const double factor = client.width() / static_cast<double>(pinned::kClientPixels.width());
    const QString seen = u"%1 by %2"_s.arg(client.width()).arg(client.height());
    // At the 8-point dialog font the window keeps its own size.
    QVERIFY2(factor > 1.3, qPrintable(seen));
    QVERIFY2(qAbs(client.height() - pinned::kClientPixels.height() * factor) <= 1,
             qPrintable(seen));
    QVERIFY2(m_session->screenRect().contains(m_session->frameRect(window)), qPrintable(seen));
    // Each control where the table puts it, grown by the window's one factor.
    const QString misplaced = misplacedControl(factor, 2);
    QVERIFY2(misplaced.isEmpty(), qPrintable(misplaced));
}

void WineTest::layoutScalesWithTheDesktopDpi() {
    // 144 dpi is a 150 % desktop; Wine reads the setting when its server starts.
    QCOMPARE(setRegistryValue(u"HKCU\\Control Panel\\Desktop"_s, u"LogPixels"_s, u"REG_DWORD"_s,
                              u"144"_s),
             0);
    QCOMPARE(support::runTool(u"wineserver"_s, {u"--kill"_s}, m_wine->environment()).exitCode, 0);
    const quint32 window = startProgram();
    QVERIFY2(window != 0, "the window never appeared at 144 dpi");
    const QRect client = m_session->clientRect(window);
    QCOMPARE(client.size(), pinned::kClientPixels * 1.5);
    // Not checked for centring here: Wine sizes its title bar for 144 dpi while openbox draws its
    // own, so the frame Windows centres is not the frame on screen.
    const QPoint shape1 = pinned::centreInClient(u"Shape1"_s);
    QCOMPARE(m_session->pixel(client.topLeft() + shape1 * 1.5, Qt::black), QColor(Qt::black));
}

QTEST_GUILESS_MAIN(WineTest)
#include "WineTest.moc"
