#pragma once

#include "browserboard/serving.h"
#include "settings/settingsio.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The program's command line: taikan [--help | --version | --export-results FILE.csv |
// --serve [ADDRESS:]PORT] [--bouts FILE.csv].
namespace app {

struct CommandLine {
    bool finished = false; // ends here, before any window, with `exitCode`
    // 0, or 2 for a command line it does not understand
    int exitCode = 0;
    QString output; // for standard output
    QString error;  // for standard error
    bool quitAfterStart = false;
    std::optional<browserboard::ServeChoice> serve; // --serve: the browser scoreboard on, as it says
    std::optional<QString> bouts;                   // --bouts: a bout list loaded at the start
    std::optional<QString> exportResults;           // --export-results: the results written there, no window
};

// Reads `arguments` (the program's name first). Qt's own options (-platform,
// -style, -display, ...) are let through for the application object.
// `settingsPaths` tells --help where kata.ini is; it is asked only then.
CommandLine readCommandLine(const QStringList &arguments,
                            const std::function<settings::SettingsPaths()> &settingsPaths);

} // namespace app
