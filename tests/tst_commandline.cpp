// The command line: what taikan answers before it opens any window.
#include "app/commandline.h"

#include <QtTest>

class CommandLineTest : public QObject {
    Q_OBJECT

private:
    int m_asked = 0;

    // By default a portable folder: kata.ini is read and written beside the program.
    app::CommandLine read(QStringList arguments, const settings::SettingsPaths &paths = {"/opt/taikan/bin/kata.ini", "/opt/taikan/bin/kata.ini"})
    {
        arguments.prepend(QStringLiteral("taikan"));
        return app::readCommandLine(arguments, [this, paths] {
            ++m_asked;
            return paths;
        });
    }

private slots:
    void init() { m_asked = 0; }

    // Exit code -1: the program starts; -2: it starts and quits once the console shows. What
    // is printed goes to the output with exit code 0, and with 2 to the error output.
    void answers()
    {
        const QString version = QStringLiteral("Kovamo Taikan " TAIKAN_VERSION "\n"); // the project's version
        const struct {
            QStringList arguments;
            int exitCode;
            QString text;
        } rows[] = {
            {{"--version"}, 0, version},
            {{"-v"}, 0, version},
            {{"-platform", "offscreen", "--version"}, 0, version},
            {{"--bogus"}, 2, "Unknown option 'bogus'."},
            {{"--version", "-x"}, 2, "Unknown option 'x'."},
            {{"match.ini"}, 2, "Unexpected argument 'match.ini'."},
            {{"-platform"}, 2, "Missing value after '-platform'."},
            {{}, -1, {}},
            {{"-platform", "offscreen", "-style=Fusion", "-reverse", "-qwindowgeometry", "100x100+0+0", "-session", "abc"}, -1, {}}, // Qt's options
            {{"--platform", "xcb"}, -1, {}},
            {{"--quit-after-start"}, -2, {}}, // the installation check
            {{"--serve", "192.168.1.20:8080"}, -1, {}},
            {{"--bouts", "C:/Turnier/Kata – Jürgen.csv"}, -1, {}},
            {{"--bouts"}, 2, "Missing value after '--bouts'."},
            {{"--export-results", "results.csv"}, -1, {}},
            {{"--serve=70000"}, 2, "Invalid value for --serve: '70000'; give a port from 1 to 65535, as 8080 or 192.168.1.20:8080."},
        };
        for (const auto &[arguments, exitCode, text] : rows) {
            const app::CommandLine line = read(arguments);
            const QByteArray row = arguments.join(u' ').toUtf8();
            QVERIFY2((line.finished ? line.exitCode : line.quitAfterStart ? -2 : -1) == exitCode, row.constData());
            QVERIFY2(line.output == (exitCode == 0 ? text : QString()), row.constData());
            QVERIFY2(line.error == (exitCode == 2 ? text + QStringLiteral("\nTry 'taikan --help'.\n") : QString()), row.constData());
            QVERIFY2(line.serve.has_value() == (exitCode == -1 && arguments.contains(QStringLiteral("--serve"))), row.constData());
            for (const auto &[option, value] : {std::pair{"--bouts", line.bouts}, {"--export-results", line.exportResults}})
                QVERIFY2(value == (exitCode == -1 && arguments.value(0) == option ? std::optional(arguments.value(1)) : std::nullopt), row.constData());
        }
        QCOMPARE(m_asked, 0); // only --help looks for the settings
    }

    void helpTellsWhereTheSetupIsKept()
    {
        for (const char *option : {"--help", "-h"}) {
            const app::CommandLine line = read({QLatin1String(option)});
            QVERIFY(line.finished && line.exitCode == 0 && line.error.isEmpty());
            for (const char *text : {"Kovamo Taikan 1.0.8", "kata competition judged with flags", "--version", "kept in\n  /opt/taikan/bin/kata.ini\n",
                                     "--serve <[ADDRESS:]PORT>", "browser.ini", "--bouts <FILE.csv>", "--export-results <FILE.csv>", "kata-results.sqlite"})
                QVERIFY2(line.output.contains(QDir::toNativeSeparators(QLatin1String(text))), text);
            // Options for Qt and for checking an installation are not advertised.
            for (const char *text : {"starts from", "platform", "quit-after-start"})
                QVERIFY2(!line.output.contains(QLatin1String(text)), text);
        }
        QCOMPARE(m_asked, 2);
        // Installed for all users, before the first Save.
        const QString output = read({"--help"}, {"/usr/bin/kata.ini", "/home/ref/.config/Taikan/kata.ini"}).output;
        QVERIFY(output.contains(QDir::toNativeSeparators("kept in\n  /home/ref/.config/Taikan/kata.ini\n")));
        QVERIFY(output.contains(QDir::toNativeSeparators("starts from\n  /usr/bin/kata.ini\n")));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
