// How the browser board keeps up: 1, 10, 100 and 500 live pages on
// loopback (in a second process, as browsers are elsewhere), the time from
// a flag click on the console to the event at each page, the server's
// memory per page, the server thread's CPU with 100 pages and a running
// clock, and the clock's ticks with 100 pages against none.
//   bash tools/bench.sh browser [clicks] [seconds]
#include "browserboard/browserboard.h"
#include "desk.h"

#include <QDir>
#include <QProcess>
#include <QTcpSocket>
#include <chrono>
#include <cstdio>

namespace {

qint64 now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The pages: `count` connections to the board's events, read one after
// another by this one process, each printing "page red time" whenever red's
// count changes, "ready" once all have the state.
int pages(quint16 port, int count)
{
    int argc = 1;
    char name[] = "pages";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    std::vector<QByteArray> buffers(static_cast<std::size_t>(count));
    std::vector<int> red(std::size_t(count), -1);
    int ready = 0;
    for (int i = 0; i < count; ++i) {
        auto *page = new QTcpSocket(&app);
        QObject::connect(page, &QTcpSocket::readyRead, page, [&, page, i] {
            QByteArray &buffer = buffers[std::size_t(i)];
            buffer += page->readAll();
            for (qsizetype end; (end = buffer.indexOf("\n\n")) >= 0; buffer.remove(0, end + 2)) {
                const qsizetype at = buffer.indexOf("\"red\":");
                const qsizetype flags = at < 0 || at > end ? -1 : buffer.indexOf("\"flags\":", at);
                if (flags < 0 || flags > end)
                    continue;
                const int value = buffer.at(flags + 8) - '0';
                if (red[std::size_t(i)] < 0 && ++ready == count)
                    std::printf("ready\n");
                else if (red[std::size_t(i)] >= 0 && value != red[std::size_t(i)])
                    std::printf("%d %d %lld\n", i, value, now());
                red[std::size_t(i)] = value;
                // Said once the pages have read what came: the telling never delays a page.
                QTimer::singleShot(0, &app, [] { std::fflush(stdout); });
            }
        });
        // From eight loopback addresses, as pages from several devices: the
        // board takes at most 32 from one address.
        page->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(1 + i % 8)));
        page->connectToHost(QHostAddress::LocalHost, port);
        page->write("GET /events HTTP/1.1\r\nHost: board\r\n\r\n");
    }
    return app.exec();
}

// The server thread's CPU time so far, in seconds, from Linux's account of
// the thread (in its clock ticks of 1/100 s); -1 where there is none.
double serverCpu()
{
    for (const QString &task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString dir = QStringLiteral("/proc/self/task/") + task;
        QFile comm(dir + QStringLiteral("/comm")), stat(dir + QStringLiteral("/stat"));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "browserboard"
            || !stat.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = stat.readAll().split(')').last().split(' ');
        return double(fields.at(12).toLongLong() + fields.at(13).toLongLong()) / 100.0;
    }
    return -1;
}

void printTicks(const char *what, const std::vector<double> &landed)
{
    const std::vector<double> late = bench::lateness(landed);
    std::printf(
        "  clock, %s: drift of the last of %zu ticks %+.2f ms; lateness median %+.2f, p99 %+.2f, max %+.2f ms\n", what,
        landed.size(), late.back(), bench::percentile(late, 0.5), bench::percentile(late, 0.99),
        *std::max_element(late.begin(), late.end()));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--pages") == 0)
        return pages(quint16(atoi(argv[2])), atoi(argv[3]));
    const int clicks = argc > 1 && atoi(argv[1]) > 0 ? atoi(argv[1]) : 100;
    const int seconds = argc > 2 && atoi(argv[2]) > 0 ? atoi(argv[2]) : 60;

    bench::Desk desk(2);
    QApplication app(argc, argv);
    console::Kata kata(desk.platform());
    kata.show();
    kata.openScoreboard();
    browserboard::BrowserBoard &board = kata.browser();
    board.setLimits({.connections = 1000, .perAddress = 1000}); // room for 500 pages, all on this PC
    board.switchOn({true, 0, browserboard::Where::ThisPc, {}}, false);
    while (board.status() == browserboard::BrowserBoard::Status::Starting)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("browser board on 127.0.0.1:%d, scoreboard open on a 3840 x 2160 display; %d clicks per row, "
                "clock runs of %d s\n",
                board.port(), clicks, seconds);
    std::printf("  clock runs with no page first\n");
    std::fflush(stdout);
    printTicks("no page", bench::runClock(kata, seconds));

    for (const int count : {1, 10, 100, 500}) {
        const long before = bench::kilobytes("VmRSS");
        QProcess process;
        QList<QByteArray> lines;
        QByteArray pending;
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
            pending += process.readAllStandardOutput();
            const qsizetype last = pending.lastIndexOf('\n');
            lines += pending.left(last).split('\n');
            pending.remove(0, last + 1);
        });
        process.start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--pages"), QString::number(board.port()), QString::number(count)});
        auto waitFor = [&](auto done, int ms) {
            QElapsedTimer waited;
            waited.start();
            while (!done() && waited.elapsed() < ms)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            return done();
        };
        if (!waitFor([&] { return lines.contains("ready"); }, 20000)) {
            std::printf("  %d pages: not all connected\n", count);
            return 1;
        }
        waitFor([] { return false; }, 500);
        const long after = bench::kilobytes("VmRSS");

        std::vector<double> latency;
        int missing = 0;
        for (int k = 0; k < clicks; ++k) {
            lines.clear();
            const int red = k % 2 + 1;
            const qint64 clicked = now();
            kata.findChild<QAbstractButton *>(QStringLiteral("Optionr%1").arg(red))->click();
            waitFor([&] { return lines.size() >= count; }, 5000);
            for (const QByteArray &line : lines)
                if (const QList<QByteArray> f = line.split(' '); f.size() == 3 && f[1].toInt() == red)
                    latency.push_back(double(f[2].toLongLong() - clicked) / 1e6);
            missing += count * (k + 1) - int(latency.size());
            waitFor([] { return false; }, 120); // one click after another, beyond the server's coalescing of bursts
        }
        std::printf("%4d pages: click to event at each page p50 %.2f ms, p99 %.2f ms, max %.2f ms (%zu events, %d "
                    "missing; target p99 < 20 ms at 100); memory %+.1f kB per page\n",
                    count, bench::percentile(latency, 0.5), bench::percentile(latency, 0.99),
                    *std::max_element(latency.begin(), latency.end()), latency.size(), missing,
                    double(after - before) / count);
        std::fflush(stdout);
        if (count == 100) {
            const double cpu = serverCpu();
            printTicks("100 pages", bench::runClock(kata, seconds));
            std::printf("  server thread with 100 pages and the clock running: %.2f ms CPU per second\n",
                        (serverCpu() - cpu) * 1000.0 / seconds);
        }
        process.kill();
        process.waitForFinished();
    }
    return 0;
}
