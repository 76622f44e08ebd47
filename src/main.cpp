#include "app/commandline.h"
#include "browserboard/browserboard.h"
#include "competition/results.h"
#include "console/console.h"
#include "platform/terminal.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

using platform::print;
using platform::Stream;

int main(int argc, char *argv[])
{
    // The user's configuration folder is named after the application.
    QCoreApplication::setApplicationName(QStringLiteral("Taikan"));

    // The options are read before anything needs a display: --help and
    // --version work without one.
    app::CommandLine line;
    {
        QCoreApplication core(argc, argv);
        line = app::readCommandLine(QCoreApplication::arguments(),
                                    [] { return settings::settingsPaths(platform::systemSettingsFolders()); });
    }
    if (line.finished) {
        // Only then: a program joined to a console ends when that console is closed.
        platform::attachTerminal();
        print(Stream::Output, line.output);
        print(Stream::Error, line.error);
        return line.exitCode;
    }

    if (line.exportResults) { // for organisers' scripts: no window
        QCoreApplication core(argc, argv);
        platform::attachTerminal();
        const QString resultsFile =
            settings::settingsPaths(platform::systemSettingsFolders(), QLatin1String(competition::kResultsFileName))
                .write;
        const QString error = competition::exportResults(resultsFile, *line.exportResults);
        if (error.isEmpty())
            return 0;
        print(Stream::Error, QStringLiteral("taikan: ") + error + QLatin1Char('\n'));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QIcon icon(QStringLiteral(":/icons/taikan.svg"));
    if (icon.pixmap(QSize(64, 64)).isNull())
        print(Stream::Error,
              QStringLiteral("taikan: the program's pictures cannot be drawn; is Qt's SVG "
                             "support (libqt6svg6) installed?\n"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("taikan")); // its menu entry, taikan.desktop

    console::Kata kata(platform::systemPlatform(), line.serve); // --serve wins over browser.ini
    kata.show();
    if (line.bouts)
        kata.loadBoutList(*line.bouts);
    if (line.quitAfterStart)
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
