// How exactly the match clock keeps time: starts the console's real clock
// with the scoreboard open on a 3840 x 2160 display (offscreen) and records
// when each tick lands against the wall clock.
//   bash tools/bench.sh clock [seconds] [--busy] [--serve PORT]
// --busy keeps the other core busy with a spinning process meanwhile;
// --serve PORT serves the browser board on 127.0.0.1:PORT meanwhile, for a
// load from outside (tools/bench.sh hostile), and reports the peak memory.
#include "browserboard/browserboard.h"
#include "desk.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using bench::percentile;

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--spin") == 0) {
        volatile unsigned long long n = 0;
        for (;;)
            n = n + 1;
    }
    int seconds = 120;
    bool busy = false;
    int port = 0;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--busy") == 0)
            busy = true;
        else if (qstrcmp(argv[i], "--serve") == 0 && i + 1 < argc)
            port = atoi(argv[++i]);
        else if (atoi(argv[i]) > 0)
            seconds = std::min(atoi(argv[i]), 599);
    }

    bench::Desk desk(2);
    QApplication app(argc, argv);

    QProcess spinner;
    if (busy)
        spinner.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--spin")});

    console::Kata kata(desk.platform());
    kata.show();
    kata.openScoreboard();
    if (port > 0) {
        kata.browser().switchOn({true, port, browserboard::Where::ThisPc, {}}, false);
        QElapsedTimer wait;
        wait.start();
        while (kata.browser().status() != browserboard::BrowserBoard::Status::Serving && wait.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        std::printf("serving on 127.0.0.1:%d\n", port);
    }
    std::printf("match clock, %d ticks, scoreboard open on a 3840 x 2160 display%s\n", seconds,
                busy ? ", the other core kept busy" : ", machine otherwise idle");
    std::fflush(stdout);
    const std::vector<double> lateness = bench::lateness(bench::runClock(kata, seconds));
    std::printf("drift of the last tick from %d x 1000 ms: %+.2f ms  (target within 5)\n", seconds, lateness.back());
    std::printf("lateness of single ticks: median %+.2f ms, p99 %+.2f ms, max %+.2f ms  (target p99 within 5)\n",
                percentile(lateness, 0.5), percentile(lateness, 0.99),
                *std::max_element(lateness.begin(), lateness.end()));
    const QString shown = kata.findChild<QLabel *>(QStringLiteral("Label1"))->text() + ':'
        + kata.findChild<QLabel *>(QStringLiteral("Label2"))->text()
        + kata.findChild<QLabel *>(QStringLiteral("Label3"))->text();
    std::printf("the clock shows %s\n", qPrintable(shown));
    if (port > 0)
        std::printf("peak memory: %ld kB\n", bench::kilobytes("VmHWM"));
    if (busy) {
        spinner.kill();
        spinner.waitForFinished();
    }
    return 0;
}
