// The results file: how long a decision takes to be on disk once handed to
// the store (the console goes on at once: record() only posts it), and how
// long opening takes with none and with 20,000 decisions recorded.
//   bash tools/bench.sh store [decisions]
#include "competition/store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace competition;

namespace {

Decision decision(int bout)
{
    return {{"Kata U14 female",
             bout,
             bout % 2 ? Winner::Red : Winner::Blue,
             {"Jérôme Łukasiewicz", "KC Lyon"},
             {"山田 太郎", "Shotokan Osaka"}},
            "2026-12-08 10:15:02",
            1,
            5,
            3,
            2};
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

// Opens the file and waits for its day: milliseconds, and how many decisions it held.
std::pair<double, std::size_t> openTime(const QString &path)
{
    Store store;
    QEventLoop loop;
    std::size_t held = 0;
    QObject::connect(&store, &Store::opened, [&](const Day &day) {
        held = day.decisions.size();
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    store.open(path);
    loop.exec();
    return {double(timer.nsecsElapsed()) / 1e6, held};
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    const QString path = dir.filePath(kResultsFileName);

    // One at a time, as at the table: each handed in after the one before is on disk.
    std::vector<double> durable, handing;
    {
        Store store;
        store.open(path);
        QEventLoop loop;
        QElapsedTimer timer;
        QObject::connect(&store, &Store::recorded, [&] {
            durable.push_back(double(timer.nsecsElapsed()) / 1e6);
            loop.quit();
        });
        for (int i = 1; i <= count; ++i) {
            timer.start();
            store.record(decision(i));
            handing.push_back(double(timer.nsecsElapsed()) / 1e6);
            loop.exec();
        }
    }
    std::printf("record(), on the console's thread: median %.3f ms, p99 %.3f ms\n", percentile(handing, 0.5),
                percentile(handing, 0.99));
    std::printf("a decision durable on disk:        median %.1f ms, p99 %.1f ms, max %.1f ms (%d decisions)\n",
                percentile(durable, 0.5), percentile(durable, 0.99), percentile(durable, 1), count);

    // Opening: an empty file, then one with 20,000 decisions (written in one go here, not timed).
    const QString empty = dir.filePath("empty.sqlite"), full = dir.filePath("full.sqlite");
    openTime(empty);
    {
        Store store;
        QEventLoop loop;
        QObject::connect(&store, &Store::recorded, [&](std::uint64_t ticket) {
            if (ticket == 20000)
                loop.quit();
        });
        store.open(full);
        for (int i = 1; i <= 20000; ++i)
            store.record(decision(i));
        loop.exec();
    }
    std::vector<double> none, many;
    std::size_t held = 0;
    for (int run = 0; run < 9; ++run) {
        none.push_back(openTime(empty).first);
        const auto [ms, n] = openTime(full);
        many.push_back(ms);
        held = n;
    }
    std::printf("opening, no decisions:             median %.1f ms\n", percentile(none, 0.5));
    std::printf("opening, %zu decisions:          median %.1f ms (%.1f ms more)\n", held, percentile(many, 0.5),
                percentile(many, 0.5) - percentile(none, 0.5));
    return 0;
}
