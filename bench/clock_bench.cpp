// How exactly the match clock keeps time: starts the console's real clock
// with the scoreboard open on a 3840 x 2160 display (offscreen) and records
// when each tick lands against the wall clock.
//   bash tools/bench.sh clock [seconds] [--busy]
// --busy keeps the other core busy with a spinning process meanwhile.
#include "desk.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"

#include <QAbstractButton>
#include <QLabel>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t i = std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[i];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "--spin") == 0) {
        volatile unsigned long long n = 0;
        for (;;)
            n = n + 1;
    }
    int seconds = 120;
    bool busy = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--busy") == 0)
            busy = true;
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
    kata.startscb();
    auto *minutes = kata.findChild<QLineEdit *>(QStringLiteral("Text1"));
    auto *secondsField = kata.findChild<QLineEdit *>(QStringLiteral("Text6"));
    minutes->setText(QStringLiteral("9"));
    secondsField->setText(QStringLiteral("59"));
    kata.resettim();
    QApplication::processEvents();

    auto *timer = kata.findChild<QTimer *>(QStringLiteral("Timer1"));
    QElapsedTimer wall;
    std::vector<double> landed; // ms after Start
    QEventLoop loop;
    QObject::connect(timer, &QTimer::timeout, &loop, [&] {
        landed.push_back(double(wall.nsecsElapsed()) / 1e6);
        if (int(landed.size()) == seconds)
            loop.quit();
    });
    std::printf("match clock, %d ticks, scoreboard open on a 3840 x 2160 display%s\n", seconds,
                busy ? ", the other core kept busy" : ", machine otherwise idle");
    std::fflush(stdout);
    wall.start();
    kata.findChild<QAbstractButton *>(QStringLiteral("Command4"))->click();
    loop.exec();

    std::vector<double> lateness;
    for (std::size_t k = 0; k < landed.size(); ++k)
        lateness.push_back(landed[k] - double(k + 1) * 1000.0);
    std::printf("drift of the last tick from %d x 1000 ms: %+.2f ms  (target within 5)\n", seconds,
                lateness.back());
    std::printf("lateness of single ticks: median %+.2f ms, p99 %+.2f ms, max %+.2f ms  (target p99 within 5)\n",
                percentile(lateness, 0.5), percentile(lateness, 0.99),
                *std::max_element(lateness.begin(), lateness.end()));
    const QString shown = kata.findChild<QLabel *>(QStringLiteral("Label1"))->text() + ':'
        + kata.findChild<QLabel *>(QStringLiteral("Label2"))->text()
        + kata.findChild<QLabel *>(QStringLiteral("Label3"))->text();
    std::printf("the clock shows %s\n", qPrintable(shown));
    if (busy) {
        spinner.kill();
        spinner.waitForFinished();
    }
    return 0;
}
