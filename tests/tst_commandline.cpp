// The command line: what taikan answers before it opens any window.
#include "app/commandline.h"
#include "console/consoledesign.h"
#include "ui/design.h"

#include <QtTest>

namespace {

settings::SettingsPaths portable() { return {QStringLiteral("/opt/taikan/bin/kata.ini"), QStringLiteral("/opt/taikan/bin/kata.ini")}; }

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    int m_asked = 0;

    app::CommandLine read(QStringList arguments, settings::SettingsPaths (*paths)() = portable)
    {
        arguments.prepend(QStringLiteral("taikan"));
        return app::readCommandLine(arguments, [this, paths] {
            ++m_asked;
            return paths();
        });
    }

private slots:
    void init() { m_asked = 0; }

    void nameAndVersionAgree()
    {
        QCOMPARE(app::kNameAndVersion, std::string_view("Kovamo Taikan " TAIKAN_VERSION));
        QCOMPARE(app::kNameAndVersion, console::kCaption);
    }

    void version_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("long") << QStringList{"--version"};
        QTest::newRow("short") << QStringList{"-v"};
        QTest::newRow("after a Qt option") << QStringList{"-platform", "offscreen", "--version"};
    }
    void version()
    {
        QFETCH(QStringList, arguments);
        const app::CommandLine line = read(arguments);
        QVERIFY(line.finished);
        QCOMPARE(line.exitCode, 0);
        QCOMPARE(line.output, QStringLiteral("Kovamo Taikan 1.0.8\n"));
        QCOMPARE(line.error, QString());
        QCOMPARE(m_asked, 0);
    }

    void helpTellsWhereTheSetupIsKept()
    {
        for (const char *option : {"--help", "-h"}) {
            const app::CommandLine line = read({QLatin1String(option)});
            QVERIFY(line.finished);
            QCOMPARE(line.exitCode, 0);
            QCOMPARE(line.error, QString());
            QVERIFY(line.output.contains(QLatin1String("Kovamo Taikan 1.0.8")));
            QVERIFY(line.output.contains(QLatin1String("kata competition judged with flags")));
            QVERIFY(line.output.contains(QLatin1String("--version")));
            QVERIFY(line.output.contains(QLatin1String("\n  /opt/taikan/bin/kata.ini\n")));
            QVERIFY(!line.output.contains(QLatin1String("starts from")));
            // Options for Qt and for checking an installation are not advertised.
            QVERIFY(!line.output.contains(QLatin1String("platform")));
            QVERIFY(!line.output.contains(QLatin1String("quit-after-start")));
        }
        QCOMPARE(m_asked, 2);

        // Installed for all users, before the first Save.
        const app::CommandLine line = read({QStringLiteral("--help")}, [] {
            return settings::SettingsPaths{QStringLiteral("/usr/bin/kata.ini"),
                                           QStringLiteral("/home/ref/.config/Taikan/kata.ini")};
        });
        QVERIFY(line.output.contains(QLatin1String("kept in\n  /home/ref/.config/Taikan/kata.ini\n")));
        QVERIFY(line.output.contains(QLatin1String("starts from\n  /usr/bin/kata.ini\n")));
    }

    void refusedCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown long") << QStringList{"--bogus"} << "Unknown option 'bogus'.";
        QTest::newRow("unknown short") << QStringList{"-x"} << "Unknown option 'x'.";
        QTest::newRow("unknown after a known one") << QStringList{"--version", "--fast"} << "Unknown option 'fast'.";
        QTest::newRow("a file") << QStringList{"match.ini"} << "Unexpected argument 'match.ini'.";
        QTest::newRow("Qt option without its value") << QStringList{"-platform"} << "Missing value after '-platform'.";
        QTest::newRow("value to a flag") << QStringList{"--version=2"} << "Unexpected value after '--version'.";
    }
    void refusedCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const app::CommandLine line = read(arguments);
        QVERIFY(line.finished);
        QCOMPARE(line.exitCode, 2);
        QCOMPARE(line.output, QString());
        QCOMPARE(line.error, message + QStringLiteral("\nTry 'taikan --help'.\n"));
    }

    void startsTheProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("quitAfterStart");
        QTest::newRow("no options") << QStringList{} << false;
        QTest::newRow("Qt's options") << QStringList{"-platform", "offscreen", "-style=Fusion", "-reverse",
                                                      "-qwindowgeometry", "100x100+0+0", "-session", "abc"}
                                      << false;
        QTest::newRow("Qt's option, two dashes") << QStringList{"--platform", "xcb"} << false;
        QTest::newRow("installation check") << QStringList{"--quit-after-start"} << true;
    }
    void startsTheProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, quitAfterStart);
        const app::CommandLine line = read(arguments);
        QVERIFY(!line.finished);
        QCOMPARE(line.quitAfterStart, quitAfterStart);
        QCOMPARE(line.output, QString());
        QCOMPARE(line.error, QString());
        QCOMPARE(m_asked, 0);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
