// "Next bout" in the console with a day of 5,005 bouts and the scoreboard
// open on a 4K display: how long the list takes to load to the names shown,
// how long the GUI thread is busy from the key to the scoreboard painted with
// the next names, and how long until the decision is on disk.
//   bash tools/bench.sh nextbout [bouts]
#include "competition/competition.h"
#include "console/console.h"
#include "daylist.h"
#include "desk.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

// Notes when a widget is painted.
struct Painted : QObject {
    bool seen = false;
    bool eventFilter(QObject *, QEvent *event) override
    {
        seen |= event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    bench::Desk desk(2);
    QApplication app(argc, argv);
    const int bouts = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 300;
    console::Kata kata(desk.platform());
    kata.show();
    kata.openScoreboard();
    QApplication::processEvents();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.csv"));
    QFile file(path);
    const std::string csv = bench::boutList();
    if (!file.open(QIODevice::WriteOnly) || file.write(csv.data(), qint64(csv.size())) != qint64(csv.size()))
        return 1;
    file.close();
    QElapsedTimer wall;
    wall.start();
    if (!kata.loadBoutList(path))
        return 1;
    QApplication::processEvents();
    std::printf("a list of 5,005 bouts loaded to the names shown: %.1f ms\n", double(wall.nsecsElapsed()) / 1e6);

    auto *red3 = kata.findChild<QAbstractButton *>(QStringLiteral("Optionr3"));
    auto *next = kata.findChild<QAction *>(QStringLiteral("nextbout"));
    auto *name = kata.scoreboard().current()->findChild<ui::FittedLabel *>(QStringLiteral("redName"));
    Painted painted;
    name->installEventFilter(&painted);
    std::vector<double> shown, durable, handled;
    int recorded = 0;
    QObject::connect(&kata.competition(), &competition::Competition::recorded, [&] {
        ++recorded;
        durable.push_back(double(wall.nsecsElapsed()) / 1e6);
    });
    for (int i = 0; i < bouts; ++i) {
        red3->click();
        QApplication::processEvents();
        painted.seen = false;
        const QString before = name->text();
        wall.restart();
        next->trigger();
        handled.push_back(double(wall.nsecsElapsed()) / 1e6);
        // The same name again (a winner on to the next bout) paints nothing new.
        while (!painted.seen && name->text() != before)
            QApplication::processEvents();
        if (name->text() != before)
            shown.push_back(double(wall.nsecsElapsed()) / 1e6);
        while (recorded <= i) // durable, before the next decision
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::printf(
        "Next bout to the scoreboard painted with the next names, %d bouts: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
        bouts, percentile(shown, 0.5), percentile(shown, 0.99), percentile(shown, 1));
    std::printf("of which the console's own work before painting: median %.2f ms, p99 %.2f ms\n",
                percentile(handled, 0.5), percentile(handled, 0.99));
    std::printf("the decision durable on disk after Next bout: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
                percentile(durable, 0.5), percentile(durable, 0.99), percentile(durable, 1));
    return 0;
}
