// The Debian package CPack makes from this build, as a desktop receives it: lintian finds no error
// or warning in it (a binary without its library dependencies, a manual page, copyright or
// changelog missing is one), its name and version are this build's, and unpacked into a scratch
// root it holds a desktop entry and AppStream metadata that pass the desktop's own validators and
// point at the program and its icons.
#include "support/Process.hpp"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kAppId = u"org.quillmarch.ColorConverter"_s;

} // namespace

class PackageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void lintianFindsNoErrorOrWarning();
    void iconsAreSquareTransparentAndOfTheirSize_data();
    void iconsAreSquareTransparentAndOfTheirSize();
    void desktopEntryPassesItsValidatorAndPointsAtTheProgramAndIcon();
    void metainfoPassesItsValidatorWithTheProjectVersion();

private:
    [[nodiscard]] QString unpacked(const QString& relative) const {
        return m_work.filePath(u"root/usr/"_s + relative);
    }

    QTemporaryDir m_work;
    QString m_package;
};

void PackageTest::initTestCase() {
    QVERIFY(m_work.isValid());
    const support::ToolOutcome pack = support::runTool(
        u"cpack"_s, {u"--config"_s, QStringLiteral(QCC_BUILD_DIR "/CPackConfig.cmake"), u"-B"_s,
                     m_work.path()});
    QVERIFY2(pack.exitCode == 0, qPrintable(pack.output));
    const QStringList debs = QDir(m_work.path()).entryList({u"*.deb"_s});
    QCOMPARE(debs.size(), 1);
    m_package = m_work.filePath(debs.first());
    // Debian's default name, made from the control file's Package and Version fields.
    QVERIFY(m_package.contains(QStringLiteral("quillmarch-color-converter_" QCC_VERSION "_")));
    const support::ToolOutcome unpack =
        support::runTool(u"dpkg"_s, {u"-x"_s, m_package, m_work.filePath(u"root"_s)});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
}

// A missing manual page is one of lintian's warnings, a missing copyright or changelog one of its
// errors.
void PackageTest::lintianFindsNoErrorOrWarning() {
    const support::ToolOutcome check =
        support::runTool(u"lintian"_s, {u"--fail-on"_s, u"error,warning"_s, m_package});
    QVERIFY2(check.exitCode == 0 && !check.output.contains(QRegularExpression(
                                        u"^[EW]: "_s, QRegularExpression::MultilineOption)),
             qPrintable(check.output));
}

void PackageTest::iconsAreSquareTransparentAndOfTheirSize_data() {
    QTest::addColumn<int>("size");
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QTest::addRow("%d px", size) << size;
    }
}

void PackageTest::iconsAreSquareTransparentAndOfTheirSize() {
    QFETCH(int, size);
    const QString path = unpacked(u"share/icons/hicolor/%1x%1/apps/%2.png"_s.arg(size).arg(kAppId));
    const QImage icon(path);
    QVERIFY2(!icon.isNull(), qPrintable(path));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
    QCOMPARE(icon.pixelColor(size - 1, size / 2).alpha(), 0);
    // The drawing itself: something red (the handle) and something blue (the spanner).
    bool red = false;
    bool blue = false;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QColor pixel = icon.pixelColor(x, y);
            red = red || (pixel.alpha() > 200 && pixel.red() > 150 && pixel.blue() < 80);
            blue = blue || (pixel.alpha() > 200 && pixel.blue() > 150 && pixel.red() < 80);
        }
    }
    QVERIFY(red);
    QVERIFY(blue);
}

void PackageTest::desktopEntryPassesItsValidatorAndPointsAtTheProgramAndIcon() {
    const QString entry = unpacked(u"share/applications/%1.desktop"_s.arg(kAppId));
    const support::ToolOutcome check = support::runTool(u"desktop-file-validate"_s, {entry});
    QVERIFY2(check.exitCode == 0 && !check.output.contains(u"error"_s), qPrintable(check.output));

    QSettings settings(entry, QSettings::IniFormat);
    settings.beginGroup(u"Desktop Entry"_s);
    QCOMPARE(settings.value(u"Name"_s).toString(), u"Quillmarch Color Converter"_s);
    QCOMPARE(settings.value(u"Icon"_s).toString(), kAppId);
    QVERIFY(QFile::exists(unpacked(u"share/icons/hicolor/scalable/apps/%1.svg"_s.arg(kAppId))));
    QVERIFY(QFileInfo(unpacked(u"bin/"_s + settings.value(u"Exec"_s).toString())).isExecutable());
}

void PackageTest::metainfoPassesItsValidatorWithTheProjectVersion() {
    const QString metainfo = unpacked(u"share/metainfo/%1.metainfo.xml"_s.arg(kAppId));
    const support::ToolOutcome check =
        support::runTool(u"appstreamcli"_s, {u"validate"_s, u"--no-net"_s, metainfo});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));

    QFile file(metainfo);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(u"<id>%1</id>"_s.arg(kAppId)));
    QVERIFY(text.contains(QStringLiteral("<release version=\"" QCC_VERSION "\"")));
    QVERIFY(text.contains(u"<launchable type=\"desktop-id\">%1.desktop"_s.arg(kAppId)));
}

QTEST_GUILESS_MAIN(PackageTest)
#include "PackageTest.moc"
