// Starting the console on the results file of a long day (5,005 bouts,
// 20,000 decisions) beside starting it where there is none: how long until
// the console is shown, until the day is back (the current bout's names
// shown), and the longest the console's thread was held meanwhile.
//   bash tools/bench.sh restart [runs]
#include "competition/competition.h"
#include "competition/store.h"
#include "console/console.h"
#include "daylist.h"
#include "desk.h"
#include "settings/settingsio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <variant>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// A long day written once: the list, its first bout current, 20,000 decisions
// (every first-round bout decided, and decided again, in turn).
bool writeDay(const QString &path)
{
    const std::string csv = bench::boutList();
    auto read = competition::readBoutList(csv, [](std::string_view local) { return std::string(local); });
    const auto *list = std::get_if<competition::BoutList>(&read);
    if (!list)
        return false;
    competition::Store store;
    QEventLoop loop;
    QObject::connect(&store, &competition::Store::recorded, [&](std::uint64_t ticket) {
        if (ticket == 20000)
            loop.quit();
    });
    store.open(path);
    store.saveList(*list, competition::CurrentBout{list->categories[0].name, 1});
    for (int i = 0; i < 20000; ++i) {
        const competition::Category &category = list->categories[std::size_t(i) % list->categories.size()];
        const competition::Bout &bout = category.bouts[std::size_t(i / int(list->categories.size())) % 32];
        store.record({{category.name,
                       bout.number,
                       i % 3 ? competition::Winner::Red : competition::Winner::Blue,
                       {bout.aka.name, bout.aka.club},
                       {bout.ao.name, bout.ao.club}},
                      "2026-12-08 10:15:02",
                      1,
                      5,
                      3,
                      2});
    }
    loop.exec();
    return true;
}

struct Start {
    double shown = 0, day = 0, held = 0;
};

Start start(const platform::Platform &platform, bool withDay)
{
    Start figures;
    QElapsedTimer wall;
    wall.start();
    console::Kata kata(platform);
    kata.show();
    QApplication::processEvents();
    figures.shown = double(wall.nsecsElapsed()) / 1e6;
    // The console's thread, watched by a timer of 1 ms: the longest gap is how long it was held.
    qint64 last = wall.nsecsElapsed();
    QTimer watch;
    watch.setTimerType(Qt::PreciseTimer);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const qint64 now = wall.nsecsElapsed();
        figures.held = std::max(figures.held, double(now - last) / 1e6);
        last = now;
    });
    watch.start(1);
    if (withDay) {
        QEventLoop loop;
        QObject::connect(&kata.competition(), &competition::Competition::ready, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        if (kata.competition().restoring())
            loop.exec();
        QApplication::processEvents();
        figures.day = double(wall.nsecsElapsed()) / 1e6;
    }
    QEventLoop settle; // as long again, for any later hold
    QTimer::singleShot(100, &settle, &QEventLoop::quit);
    settle.exec();
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    bench::Desk desk(1);
    QApplication app(argc, argv);
    const int runs = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 7;
    const platform::Platform platform = desk.platform();
    const QString path = settings::settingsPaths(platform.settings, QLatin1String(competition::kResultsFileName)).write;
    const QString aside = path + QStringLiteral(".aside");
    if (!writeDay(aside))
        return 1;
    std::vector<double> shownNone, heldNone, shownDay, dayDay, heldDay;
    start(platform, false); // once unmeasured: fonts and plugins loaded
    for (int run = 0; run < runs; ++run) {
        const Start none = start(platform, false);
        shownNone.push_back(none.shown);
        heldNone.push_back(none.held);
        QFile::rename(aside, path);
        const Start day = start(platform, true);
        QFile::rename(path, aside);
        shownDay.push_back(day.shown);
        dayDay.push_back(day.day);
        heldDay.push_back(day.held);
    }
    std::printf("console shown, no results file:        median %.1f ms (thread held at most %.1f ms after)\n",
                median(shownNone), median(heldNone));
    std::printf("console shown, 20,000 decisions:       median %.1f ms (%.1f ms more)\n", median(shownDay),
                median(shownDay) - median(shownNone));
    std::printf("the day back (5,005 bouts, names shown): median %.1f ms after start; thread held at most %.1f ms\n",
                median(dayDay), median(heldDay));
    return 0;
}
