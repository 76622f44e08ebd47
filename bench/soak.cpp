// A competition day in a few seconds: drives the real console headless,
// opening and closing the scoreboard, choosing flags and running the clock
// with the scoreboard open, and prints the resident memory after a warm-up
// and at the end.
//   bash tools/bench.sh soak           1,000 openings, 10,000 choices, 10,000 ticks
//   build-sanitize/bench/soak --short  a tenth of that, under the sanitizers
#include "desk.h"
#include "platform/sound.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"
#include "timer/matchclock.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

namespace {

struct Day {
    console::Kata &kata;
    std::int64_t &time; // the match clock's

    QAbstractButton *button(const QString &name) const { return kata.findChild<QAbstractButton *>(name); }

    void openings(int n)
    {
        for (int i = 0; i < n; ++i) {
            button(QStringLiteral("command1"))->click();
            QApplication::processEvents(); // paints it
            // Closed from the console, and by a click on the scoreboard.
            if (i % 2)
                button(QStringLiteral("Command2"))->click();
            else
                emit kata.scoreboard().current()->label(3)->clicked();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    void choices(int n)
    {
        button(QStringLiteral("command1"))->click();
        for (int i = 0; i < n; ++i) {
            const bool red = (i / 5) % 2 == 0;
            button(QStringLiteral("Option%1%2").arg(red ? 'r' : 'b').arg(i % 5 + 1))->click();
            if (i % 100 == 99)
                button(i % 200 == 199 ? QStringLiteral("Options3") : QStringLiteral("Options5"))->click();
            if (i % 50 == 0)
                QApplication::processEvents();
        }
        QApplication::processEvents();
    }
    void ticks(int n)
    {
        button(QStringLiteral("command1"))->click();
        kata.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("9"));
        kata.findChild<QLineEdit *>(QStringLiteral("Text6"))->setText(QStringLiteral("59"));
        for (int i = 0; i < n; ++i) {
            if (!kata.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive()) {
                kata.resetTime();
                button(QStringLiteral("Command4"))->click();
            }
            time += 1000;
            kata.clock().tick();
            if (i % 10 == 0)
                QApplication::processEvents();
        }
        kata.resetMatch();
    }
};

} // namespace

int main(int argc, char *argv[])
{
    const bool brief = argc > 1 && qstrcmp(argv[1], "--short") == 0;
    const int scale = brief ? 10 : 1;

    bench::Desk desk(1);
    QApplication app(argc, argv);
    std::int64_t time = 0; // the match clock's, a second a tick
    console::Kata kata(desk.platform(time));
    kata.show();
    QApplication::processEvents();
    Day day{kata, time};

    QElapsedTimer clock;
    clock.start();
    day.openings(100 / scale);
    day.choices(1000 / scale);
    day.ticks(1000 / scale);
    const long warm = bench::kilobytes("VmRSS");
    std::printf("after the warm-up (%d openings, %d choices, %d ticks): %ld kB resident\n", 100 / scale, 1000 / scale,
                1000 / scale, warm);
    std::fflush(stdout);

    day.openings(1000 / scale);
    day.choices(10000 / scale);
    day.ticks(10000 / scale);
    const long end = bench::kilobytes("VmRSS");
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory aside: resident memory says nothing here.
    const char *target = "(under AddressSanitizer: not comparable)";
#else
    const char *target = "(target under 1024)";
#endif
    std::printf("after %d openings, %d choices, %d ticks: %ld kB resident, growth %+ld kB %s, %.1f s\n", 1000 / scale,
                10000 / scale, 10000 / scale, end, end - warm, target, double(clock.elapsed()) / 1000.0);
    return brief || end - warm < 1024 ? 0 : 1;
}
