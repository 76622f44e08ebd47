#include "app/commandline.h"

#include "app/version.h"
#include "ui/design.h"

#include <QCommandLineParser>
#include <QDir>

namespace app {

namespace {

// The options of QGuiApplication and QApplication (and of the X11 platform),
// with a value and without.
constexpr const char *kQtOptionsWithValue[] = {
    "platform",      "platformpluginpath",
    "platformtheme", "plugin",
    "qmljsdebugger", "qwindowgeometry",
    "qwindowicon",   "qwindowtitle",
    "session",       "style",
    "stylesheet",    "display",
    "geometry",      "name",
    "title",         "visual",
    "fontengine",
};
constexpr const char *kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

const QString kTryHelp = QStringLiteral("Try 'taikan --help'.\n");

CommandLine finished(int exitCode, const QString &output, const QString &error)
{
    CommandLine line;
    line.finished = true;
    line.exitCode = exitCode;
    line.output = output;
    line.error = error;
    return line;
}

CommandLine refused(const QString &why) { return finished(2, {}, why + QLatin1Char('\n') + kTryHelp); }

// The program's own options, and Qt's, which it takes and leaves to Qt.
struct Options {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help and ends.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Shows the name and version and ends.")};
    QCommandLineOption serve{
        QStringLiteral("serve"),
        QStringLiteral("Shows the scoreboard live and read-only in browsers on the network, at "
                       "http://<this PC's address>:PORT/; with ADDRESS (one of this PC's) only there, "
                       "127.0.0.1 for this PC only. For unattended set-ups; also under \"Browser "
                       "scoreboard...\" in the console's menu."),
        QStringLiteral("[ADDRESS:]PORT")};
    QCommandLineOption bouts{QStringLiteral("bouts"),
                             QStringLiteral("Loads the bout list FILE.csv at the start, as \"Load bout list...\" in "
                                            "the console's menu does."),
                             QStringLiteral("FILE.csv")};
    QCommandLineOption exportResults{QStringLiteral("export-results"),
                                     QStringLiteral("Writes the results recorded (every bout, then the placings) "
                                                    "to FILE.csv and ends, without a window: 0, or 1 with a message."),
                                     QStringLiteral("FILE.csv")};
    // Starts, shows the console and ends: a check of an installation.
    QCommandLineOption quitAfterStart{QStringLiteral("quit-after-start")};

    explicit Options(QCommandLineParser &parser)
    {
        // Qt's options are written with one dash: -platform offscreen.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(
            QStringLiteral("%1: the table official's console for a kata competition judged with flags.\n"
                           "It records the flag decisions of 3 or 5 referees, red (Aka) against blue (Ao),\n"
                           "runs the match clock and shows the result to the public on a scoreboard\n"
                           "on a second display.")
                .arg(ui::qs(app::kNameAndVersion)));
        quitAfterStart.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(help);
        parser.addOption(version);
        parser.addOption(serve);
        parser.addOption(bouts);
        parser.addOption(exportResults);
        parser.addOption(quitAfterStart);
        for (const char *name : kQtOptionsWithValue) {
            QCommandLineOption option(QLatin1String(name), QString(), QStringLiteral("value"));
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
        for (const char *name : kQtFlags) {
            QCommandLineOption option{QLatin1String(name)};
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    }
};

} // namespace

CommandLine readCommandLine(const QStringList &arguments, const std::function<settings::SettingsPaths()> &settingsPaths)
{
    QCommandLineParser parser;
    const Options options(parser);
    if (!parser.parse(arguments))
        return refused(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refused(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));

    if (parser.isSet(options.help)) {
        const settings::SettingsPaths paths = settingsPaths();
        QString text = parser.helpText();
        text += QStringLiteral("\nThe setup (\"Save\" in the setup strip) is kept in\n  %1\n")
                    .arg(QDir::toNativeSeparators(paths.write));
        if (!paths.read.isEmpty() && paths.read != paths.write)
            text += QStringLiteral("Until it is first saved there, it starts from\n  %1\n")
                        .arg(QDir::toNativeSeparators(paths.read));
        text += QStringLiteral("The browser scoreboard's choice is kept beside it, in browser.ini,\n"
                               "and the bout list with every decision recorded in kata-results.sqlite.\n");
        return finished(0, text, {});
    }
    if (parser.isSet(options.version))
        return finished(0, ui::qs(app::kNameAndVersion) + QLatin1Char('\n'), {});
    CommandLine line;
    line.quitAfterStart = parser.isSet(options.quitAfterStart);
    if (parser.isSet(options.bouts))
        line.bouts = parser.value(options.bouts);
    if (parser.isSet(options.exportResults))
        line.exportResults = parser.value(options.exportResults);
    if (parser.isSet(options.serve)) {
        line.serve = browserboard::parseServe(parser.value(options.serve).toStdString());
        if (!line.serve)
            return refused(QStringLiteral("Invalid value for --serve: '%1'; give a port from 1 to 65535, "
                                          "as 8080 or 192.168.1.20:8080.")
                               .arg(parser.value(options.serve)));
    }
    return line;
}

} // namespace app
