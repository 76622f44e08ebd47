// How quickly the scoreboard opens and paints on a 4K display, and what it
// costs in memory beside a bare Qt window. Prints medians of repeated runs.
//   bash tools/bench.sh          (or: build/bench/scoreboard_bench [runs])
// Runs headless: it sets up Qt's offscreen platform with a main display and
// a 3840 x 2160 display to its right itself.
#include "desk.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Counts the paint events a window receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ms(const QElapsedTimer &clock) { return double(clock.nsecsElapsed()) / 1e6; }

QScreen *hall()
{
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String("b-hall"))
            return screen;
    return nullptr;
}

// A bare window filling the 4K display, painted once: the yardstick.
int bareWindow()
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(hall()->geometry());
    window.showFullScreen();
    window.repaint();
    QApplication::processEvents();
    std::printf("%ld\n", bench::kilobytes("VmHWM"));
    return 0;
}

int scoreboardWindow(bench::Desk &desk, int runs)
{
    console::Kata kata(desk.platform());
    kata.show();
    QApplication::processEvents();

    std::vector<double> opening, full, oneCount;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        kata.openScoreboard();
        scoreboard::Kabord *board = kata.scoreboard().current();
        PaintCounter counter;
        board->installEventFilter(&counter);
        while (counter.paints == 0)
            QApplication::processEvents();
        opening.push_back(ms(clock));
        board->removeEventFilter(&counter);

        clock.restart();
        board->repaint();
        full.push_back(ms(clock));

        // One count changes: the blue count alone.
        for (int blue = 1; blue <= 4; ++blue) {
            clock.restart();
            kata.publicBoard().setCounts(0, blue);
            QApplication::processEvents();
            oneCount.push_back(ms(clock));
        }
    }
    if (kata.scoreboard().current()->devicePixelRatioF() != 2.0 || kata.scoreboard().current()->width() != 1920)
        std::printf("warning: the scoreboard is not on the 4K display\n");
    if (runs == 1) { // measuring memory only
        std::printf("%ld\n", bench::kilobytes("VmHWM"));
        return 0;
    }
    std::printf("opening with its first full paint:  %7.2f ms  (target <= 50)\n", median(opening));
    std::printf("one full repaint:                   %7.2f ms\n", median(full));
    std::printf("repaint after one count changes:    %7.2f ms  (target <= 8)\n", median(oneCount));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const bool bare = mode == "--bare";
    const bool once = mode == "--once";
    const int runs = once ? 1 : argc > 1 && !bare ? std::max(1, atoi(argv[1])) : 30;

    bench::Desk desk(2);
    QApplication app(argc, argv);
    if (!hall())
        return 2;
    if (bare)
        return bareWindow();
    if (once)
        return scoreboardWindow(desk, 1);

    // Memory is measured in fresh processes, each painting once.
    auto peakOf = [&](const QStringList &args) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), args);
        child.waitForFinished(60000);
        const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
        return lines.last().toLong();
    };
    std::printf("scoreboard on a 3840 x 2160 display (offscreen, device pixel ratio 2), medians of %d runs\n", runs);
    std::fflush(stdout);
    const long boardPeak = peakOf({QStringLiteral("--once")});
    const long barePeak = peakOf({QStringLiteral("--bare")});
    scoreboardWindow(desk, runs);
    std::printf("peak memory, console and scoreboard: %ld kB; a bare full-screen window: %ld kB; ratio %.2f "
                "(target <= 1.5)\n",
                boardPeak, barePeak, barePeak > 0 ? double(boardPeak) / double(barePeak) : 0.0);
    return 0;
}
