// "Next bout" in the console with a day of 5,005 bouts and the scoreboard
// open on a 4K display: how long the list takes to load to the names shown,
// how long the GUI thread is busy from the key to the scoreboard painted with
// the next names, and how long until the decision is on disk; then the
// day's results for the browser board's /results page.
//   bash tools/bench.sh nextbout [bouts] [--window]   (--window: with "Bouts..." open)
#include "browserboard/browserboard.h"
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
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
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

// An answer whole: its headers, and as many bytes after them as they say.
bool complete(const QByteArray &got)
{
    const qsizetype end = got.indexOf("\r\n\r\n");
    const QRegularExpressionMatch length =
        QRegularExpression(QStringLiteral("\r\nContent-Length: (\\d+)")).match(QString::fromLatin1(got.left(end)));
    return end >= 0 && got.size() - end - 4 >= (length.hasMatch() ? length.captured(1).toLongLong() : 0);
}

} // namespace

int main(int argc, char *argv[])
{
    bench::Desk desk(2);
    QApplication app(argc, argv);
    const int bouts = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 300;
    const bool window = argc > 2 && qstrcmp(argv[2], "--window") == 0; // the "Bouts..." window open throughout
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

    if (window) {
        kata.showBouts();
        QApplication::processEvents();
    }
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

    // The results of the whole day for /results: the table on the console's thread while the board serves,
    // the JSON made in the server's thread at the first request after a change, and a request that has the latest.
    std::vector<double> table;
    for (int i = 0; i < 21; ++i) {
        wall.restart();
        const competition::ResultsTable results = kata.competition().resultsTable();
        table.push_back(double(wall.nsecsElapsed()) / 1e6);
    }
    kata.browser().switchOn({true, 0, browserboard::Where::ThisPc, {}}, false);
    while (kata.browser().status() != browserboard::BrowserBoard::Status::Serving)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto get = [&](const QByteArray &tag, QByteArray *etag) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, kata.browser().port());
        socket.waitForConnected();
        QElapsedTimer timer;
        timer.start();
        socket.write("GET /results.json HTTP/1.1\r\nHost: b\r\n"
                     + (tag.isEmpty() ? QByteArray() : "If-None-Match: " + tag + "\r\n") + "\r\n");
        QByteArray got;
        while (!complete(got) && socket.waitForReadyRead(5000))
            got += socket.readAll();
        if (etag)
            *etag = QRegularExpression(QStringLiteral("\r\nETag: (\"[^\"]+\")"))
                        .match(QString::fromLatin1(got))
                        .captured(1)
                        .toLatin1();
        return std::pair{double(timer.nsecsElapsed()) / 1e6, got.size()};
    };
    std::vector<double> first, again;
    qsizetype bytes = 0;
    QByteArray etag;
    for (int i = 0; i < 11; ++i) {
        kata.browser().resultsChanged(); // a change: the JSON is made anew at the next request
        QApplication::processEvents();
        QThread::msleep(20);
        const auto [ms, size] = get({}, &etag);
        first.push_back(ms);
        bytes = size;
        again.push_back(get(etag, nullptr).first);
    }
    std::printf("the day's results for /results (5,005 bouts, %zu decisions): the table on the console's thread median "
                "%.2f ms;\n"
                "/results.json after a change, made and sent on loopback: median %.1f ms, max %.1f ms (%lld kB); "
                "unchanged (304): median %.2f ms\n",
                kata.competition().decisions().size(), percentile(table, 0.5), percentile(first, 0.5),
                percentile(first, 1), static_cast<long long>(bytes / 1024), percentile(again, 0.5));
    return 0;
}
