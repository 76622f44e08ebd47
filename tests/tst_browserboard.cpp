// The browser board on loopback, through real sockets: every route, what a
// hostile or careless client can do to it, switching it on and off; and its
// page in a real browser (Debian's chromium, headless) while the console is
// clicked as the operator clicks it.
#include "board/publicboard.h"
#include "browserboard/browserboard.h"
#include "browserboard/httpboard.h"
#include "support/chromium.h"
#include "support/console.h"
#include "support/snapshot.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QPainter>
#include <QRadioButton>
#include <QTcpServer>

using browserboard::BrowserBoard;
using browserboard::Where;

namespace {

constexpr int kTimeout = 400; // for a complete request, instead of 10 s
// Where !testing::kPosix, Windows' sockets (as seen under Wine) take megabytes for a client that stops reading,
// and drain 8 MiB slowly: what waits in the board cannot be told from what a page was sent, nor how soon it goes.

QByteArray request(const char *method, const QByteArray &path) { return method + (' ' + path) + " HTTP/1.1\r\nHost: b\r\n\r\n"; }

// This process's resident memory in kB; -1 where the system does not say (no /proc).
long residentKb()
{
    const auto rss = QRegularExpression("VmRSS:\\s*(\\d+)").match(QString::fromLatin1(testing::readFile(QStringLiteral("/proc/self/status"))));
    return rss.hasMatch() ? rss.captured(1).toLong() : -1;
}

// The fields of a JSON value and their types, as other tools rely on them.
QString shape(const QJsonValue &value)
{
    QStringList fields;
    for (const QString &key : value.toObject().keys())
        fields << key + ':' + shape(value[key]);
    return value.isObject() ? '{' + fields.join(',') + '}' : value.isBool() ? "b" : value.isDouble() ? "n" : value.isString() ? "s" : "?";
}

// A client of the board from `from` (loopback has many addresses): what it
// was answered; `readBuffer` 1: it stops reading, and the system holds little for it.
struct Client : QTcpSocket {
    QByteArray got;
    qint64 written = 0; // of what it sent, taken by the system
    bool reading;
    Client(quint16 port, const QByteArray &bytes, int readBuffer = 0, const QString &from = QStringLiteral("127.0.0.1")) : reading(!readBuffer)
    {
        setReadBufferSize(readBuffer);
        connect(this, &QTcpSocket::readyRead, this, [this] { got += reading ? readAll() : QByteArray(); });
        connect(this, &QTcpSocket::bytesWritten, this, [this](qint64 bytes) { written += bytes; });
        bind(QHostAddress(from));
        if (readBuffer)
            setSocketOption(ReceiveBufferSizeSocketOption, 4096);
        connectToHost(QHostAddress::LocalHost, port);
        write(bytes);
    }
    bool closed() const { return state() == UnconnectedState; }
    void readAgain()
    {
        reading = true;
        setReadBufferSize(0);
        got += readAll();
    }
    QJsonObject last(const char *part) const // of the last event
    {
        const qsizetype end = got.lastIndexOf("}\n\n"), start = got.lastIndexOf("data: ", end) + 6;
        return QJsonDocument::fromJson(got.mid(start, end + 1 - start))[QLatin1String(part)].toObject();
    }
};

} // namespace

class BrowserBoardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;
    std::unique_ptr<testing::Chromium> browser;
    BrowserBoard *board = nullptr;

    void serve(browserboard::ServeChoice choice, bool remember = false)
    {
        board->switchOn(choice, remember);
        QTRY_VERIFY(board->status() != BrowserBoard::Status::Starting);
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(board->port()); }
    // The clock's tens written as `tick`, at full speed: back once `reader` has heard it.
    void tick(int tick, const Client &reader)
    {
        const qsizetype had = reader.got.size();
        c->kata->publicBoard().write(board::Digit::Tens, QString::number(tick));
        for (QDeadlineTimer wait(5000); reader.got.size() == had && !wait.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QVERIFY(reader.got.size() > had);
    }
    bool live(bool on = true) { return browser->until(QStringLiteral("document.body.classList.contains('offline') != %1").arg(on)); }
    // Red and blue flags, field number, clock digits, clock shown, mirrored: in the page.
    QString inPage()
    {
        return browser
            ->evaluate(QStringLiteral("['red-flags', 'blue-flags', 'field-number', 'minutes', 'tens', 'units'].map(id => "
                                      "document.getElementById(id).textContent).join(' ') + (clock.hidden ? ' hidden' : ' shown')"
                                      " + (document.getElementById('red').classList.contains('first') ? ' mirrored' : '')"))
            .toString();
    }
    void compare(const QImage &picture, const char *name)
    {
        COMPARE_SNAPSHOT(picture, QLatin1String(name), browser->version + ' ' + testing::renderingFingerprint(), QStringLiteral("fingerprint-browser.txt"));
    }

private slots:
    void initTestCase()
    {
        c = std::make_unique<testing::Console>(nullptr, false);
        board = &c->kata->browser();
        board->setLimits({.requestTimeoutMs = kTimeout});
        serve({true, 0, Where::ThisPc, {}});
        QCOMPARE(board->status(), BrowserBoard::Status::Serving);
    }
    void cleanupTestCase() { browser.reset(); }

    // The page follows every change, the scoreboard closed or open (tst_board: the open scoreboard shows the model); off,
    // it says so, and on again it shows at once what changed meanwhile. The overlay is transparent.
    void thePageFollowsTheConsole()
    {
        if (testing::Chromium::program().isEmpty())
            QSKIP("no chromium here; tools/install-deps.sh installs it");
        browser = std::make_unique<testing::Chromium>();
        QVERIFY(browser->ready());
        browser->resize({1920, 1080}, url());
        QVERIFY(live());
        c->click("Optionr1");
        c->setText("Text5", QStringLiteral("7"));
        c->click("command12");
        QTRY_COMPARE(inPage(), QStringLiteral("1 4 7 1 0 0 hidden"));
        c->setText("Text6", QStringLiteral("30"));
        for (const char *name : {"command1", "Optionb3", "command6", "Command4"}) // open; blue 3; the clock from 1:30
            c->click(name);
        c->elapse(); // the clock counts
        QTRY_COMPARE(inPage(), QStringLiteral("2 3 7 1 2 9 shown"));
        c->click("Command5");
        for (const auto &[size, name] : {std::pair{QSize(1920, 1080), "browser-16x9"}, {QSize(1024, 768), "browser-4x3"}, {QSize(390, 844), "browser-phone"}}) {
            browser->resize(size); // any shape: the whole window and nothing beyond it
            QVERIFY(browser->evaluate("document.documentElement.scrollHeight <= innerHeight && document.documentElement.scrollWidth <= innerWidth").toBool());
            compare(browser->screenshot(), name);
        }
        browser->resize({1920, 1080});
        const quint16 port = board->port();
        c->click("Command2");
        board->switchOff(false);
        QVERIFY(live(false));
        c->click("Optionr5");
        c->get<QCheckBox>("Check11")->setChecked(true);
        serve({true, port, Where::ThisPc, {}});
        QVERIFY(live());
        QCOMPARE(inPage(), QStringLiteral("5 0 7 1 2 9 shown mirrored")); // the closed scoreboard's field number kept
        c->get<QCheckBox>("Check11")->setChecked(false);
        browser->resize({1280, 720}, url() + "overlay");
        QVERIFY(browser->until(QStringLiteral("document.getElementById('red').classList.contains('second') && !document.body.classList.contains('offline')")));
        const QImage shot = browser->screenshot(true);
        QCOMPARE(qAlpha(shot.pixel(shot.width() - 1, shot.height() - 1)) * 1000 + qAlpha(shot.pixel(20, 20)), 255);
        QImage video(640, 120, QImage::Format_RGB32);
        video.fill(QColor(60, 90, 60));
        QPainter(&video).drawImage(0, 0, shot);
        compare(video, "browser-overlay");
    }

    // Who performs, from the bout list, in the page and the overlay: long and Japanese names wrapped and
    // shrunk into their boxes at any shape, hidden without a list; /state.json names them.
    void namesInThePage()
    {
        if (!browser || !browser->ready())
            QSKIP("needs the page of the test before");
        c->loadBoutList("category,bout,round,aka,aka_club,ao,ao_club\n"
                        "Kata U14 female,2,semi-final,Maximiliane Schwarzenberg-Oberhollenzer,Karate-Dojo Garmisch-Partenkirchen e.V.,"
                        "山田 太郎,Shotokan Osaka\n");
        const QString names = QStringLiteral("['bout', 'red-performer-name', 'red-performer-club', 'blue-performer-name'].map(id => "
                                             "document.getElementById(id).textContent).join('|')");
        browser->resize({1920, 1080}, url());
        QVERIFY(browser->until(names
                               + " === 'Kata U14 female · semi-final · Bout 2|Maximiliane Schwarzenberg-Oberhollenzer|"
                                 "Karate-Dojo Garmisch-Partenkirchen e.V.|山田 太郎'"));
        const QString fits = QStringLiteral("[...document.querySelectorAll('.fit')].every(e => !e.getClientRects().length || "
                                            "(e.scrollHeight <= e.clientHeight + 1 && e.scrollWidth <= e.clientWidth + 1))");
        const QString shown = QStringLiteral("['bout', 'red-performer', 'blue-performer'].every(id => !document.getElementById(id).hidden)");
        for (const auto &[size, name] :
             {std::pair{QSize(1920, 1080), "browser-names-16x9"}, {QSize(1024, 768), "browser-names-4x3"}, {QSize(390, 844), "browser-names-phone"}}) {
            browser->resize(size);
            QVERIFY(browser->until(shown + " && !document.body.classList.contains('offline')"));
            QVERIFY2(browser->evaluate(fits).toBool(), name);
            if (!QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) // the same fonts as the approved picture
                compare(browser->screenshot(), name);
        }
        browser->resize({1280, 720}, url() + "overlay");
        QVERIFY(browser->until("document.getElementById('red-performer-name').textContent.startsWith('Maximiliane') && "
                               "!document.getElementById('red-performer').hidden"));
        QCOMPARE(c->kata->publicBoard().state().performers.blueClub, std::string("Shotokan Osaka"));
    }

    // The day's results: /results.json names every bout, the current one marked, and tells a page that has the
    // latest only that; the page on a phone shows every name as text (one that looks like markup too), within the
    // window's width, and follows the next decision.
    void theResultsPage()
    {
        if (!browser || !browser->ready())
            QSKIP("needs the page of the test before");
        c->loadBoutList("category,bout,round,aka,aka_club,ao,ao_club\n"
                        "Kata U14 female,1,semi-final,Maximiliane Schwarzenberg-Oberhollenzer,Karate-Dojo Garmisch-Partenkirchen e.V.,"
                        "\"<img src=x onerror=\"\"document.title='owned'\"\">\",Shotokan Osaka\n"
                        "Kata U14 female,2,final,W 1,,山田 太郎,Budo Basel\n");
        const auto fetch = [this](const QByteArray &sent) {
            Client client(board->port(), sent);
            (void)QTest::qWaitFor([&] { // the headers, and as many bytes after them as they say
                const qsizetype end = client.got.indexOf("\r\n\r\n");
                const auto length = QRegularExpression("\r\nContent-Length: (\\d+)").match(QString::fromLatin1(client.got.left(end)));
                return end >= 0 && client.got.size() - end - 4 >= (length.hasMatch() ? length.captured(1).toLongLong() : 0);
            });
            return client.got;
        };
        QByteArray got = fetch(request("GET", "/results.json"));
        QVERIFY2(got.startsWith("HTTP/1.1 200"), got.left(200));
        const QJsonObject bout = QJsonDocument::fromJson(got.mid(got.indexOf("\r\n\r\n") + 4))["categories"][0]["bouts"][0].toObject();
        QCOMPARE(shape(bout), QStringLiteral("{aka:{club:s,name:s},ao:{club:s,name:s},bout:n,check:b,current:b,result:s,round:s,state:s,time:s}"));
        QCOMPARE(bout["aka"]["name"].toString() + '|' + bout["state"].toString(), QStringLiteral("Maximiliane Schwarzenberg-Oberhollenzer|current"));
        const QByteArray tag = QRegularExpression("\r\nETag: (\"[^\"]+\")").match(QString::fromLatin1(got)).captured(1).toLatin1();
        QVERIFY(!tag.isEmpty());
        got = fetch("GET /results.json HTTP/1.1\r\nHost: b\r\nIf-None-Match: " + tag + "\r\n\r\n");
        QVERIFY2(got.startsWith("HTTP/1.1 304") && got.endsWith("\r\n\r\n"), got);

        browser->resize({390, 844}, url() + "results");
        QVERIFY(browser->until("document.body.innerText.includes('Maximiliane Schwarzenberg-Oberhollenzer')"));
        QVERIFY(browser
                    ->evaluate("document.body.innerText.includes(\"<img src=x onerror=\") && document.title !== 'owned' && "
                               "!document.querySelector('main img') && document.documentElement.scrollWidth <= innerWidth")
                    .toBool());
        c->click("Optionb3");
        c->click("nextbout"); // Ao 3 : 2: the final between the winner and 山田 太郎
        QVERIFY(browser->until("(document.querySelector('tr.current') || {}).innerText?.includes('山田 太郎') && "
                               "document.querySelector('tr').parentNode.innerText.includes('Ao 3–2')"));
        if (!QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) { // one time of day in every picture
            browser->evaluate("document.querySelectorAll('.state').forEach(e => e.textContent = e.textContent.replace(/\\d\\d:\\d\\d/, '10:15'))");
            compare(browser->screenshot(), "browser-results-phone");
        }
    }

    // Each answer's status, headers and body; GET and HEAD of the program's own files only. A connection is held until
    // the deadline after its last complete request, also while it trickles bytes that never complete one; pipelined
    // requests are answered in order; a page that sends is closed; a request too large or with a body is told so
    // before the connection closes, even while it goes on sending; what is no HTTP is closed without a word.
    void requests()
    {
        browser.reset();
        QTest::failOnWarning(QRegularExpression(".")); // Qt's server answers strangers silently
        const QByteArray html = "text/html; charset=utf-8", text = "text/plain; charset=utf-8", page = "<!DOCTYPE html>";
        const QByteArray junk(8 << 20, 'x'); // more than the system holds: closed unread, the connection would reset
        const struct {
            QByteArray sent;
            const char *statuses;
            QByteArray type, body; // of the first answer; no type: no answer, or a refusal of the board's own
            bool deadline;         // held until then, else closed at once
        } rows[] = {
            {request("GET", "/"), "200", html, page, true},
            {request("GET", "/overlay"), "200", html, page, true},
            {request("HEAD", "/?x=1"), "200", html, "", true},
            {request("GET", "/board.css"), "200", "text/css; charset=utf-8", "/*", true},
            {request("GET", "/board.js"), "200", "text/javascript; charset=utf-8", "//", true},
            {request("GET", "/flags/red.svg"), "200", "image/svg+xml", "<?xml", true},
            {request("GET", "/favicon.svg"), "200", "image/svg+xml", "<?xml", true},
            {request("GET", "/state.json"), "200", "application/json", "{\"blue\":{\"colour\":\"#0000c0\",\"flags\":", true},
            {request("HEAD", "/events"), "200", "text/event-stream", "", true},
            {request("GET", "/events") + "x", "200", "text/event-stream", "retry: 1000\n\ndata: {", false}, // a page that sends
            {request("GET", "/nothing") + request("DELETE", "/") + request("HEAD", "/state.json"), "404 405 200", text, "Not found", true},
            {request("GET", "/../CMakeLists.txt") + request("GET", "/web/board.html") + request("GET", "/%2e%2e/kata.ini"), "404 404 404", text, "", true},
            {request("POST", "/") + request("PUT", "/state.json") + request("BREW", "/"), "405 405 405", text, "", true},
            {"GET /events HTTP/1.1\r\nHost: b\r\nConnection: Upgrade\r\nUpgrade: websocket\r\nSec-WebSocket-Version: 13\r\nSec-WebSocket-Key: "
             "dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n",
             "400", text, "This board sends its live updates as Server-Sent Events", false},             // no WebSocket, and nothing said of it
            {"", "", "", "", true},                                                                      // nothing at all
            {"GET / HTTP/1.1\r\nX: ", "", "", "", true},                                                 // trickles
            {QByteArray("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\n", 12), "", "", "", false},       // garbage
            {"GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a') + "\r\n\r\n" + junk, "431", "", "", false}, // too large
            {"POST / HTTP/1.1\r\nContent-Length: 8388608\r\n\r\n" + junk, "413", "", "", false},
            {"POST / HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello", "413", "", "", false},
        };
        for (const auto &row : rows) {
            const QByteArray name = row.sent.left(40);
            QElapsedTimer time;
            time.start();
            Client client(board->port(), row.sent, 1); // reads nothing until it has sent it all
            while (!client.closed() && (client.bytesToWrite() > 0 || time.elapsed() < 50))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            client.readAgain();
            for (QElapsedTimer trickle; row.sent.endsWith("X: ") && !client.closed(); trickle.start()) {
                client.write("a"); // never a complete request
                QTRY_VERIFY_WITH_TIMEOUT(client.closed() || trickle.elapsed() >= 50, 1000);
            }
            QVERIFY2(QTest::qWaitFor([&] { return client.closed(); }, kTimeout + 1000), name);
            QStringList statuses;
            for (const auto &match : QRegularExpression("HTTP/1.1 (\\d+)").globalMatch(QString::fromLatin1(client.got)))
                statuses << match.captured(1);
            QVERIFY2(statuses.join(' ') == row.statuses && (*row.statuses || client.got.isEmpty()), qPrintable(name + ": " + statuses.join(' ')));
            QVERIFY2(client.written >= row.sent.size(), name); // read to the end, not reset
            QVERIFY2(row.deadline ? time.elapsed() >= kTimeout - 50 && time.elapsed() < kTimeout + 700 : time.elapsed() < kTimeout - 50 || !testing::kPosix,
                     name);
            QTRY_COMPARE(board->pages(), 0);
            if (row.type.isEmpty())
                continue;
            const QByteArray head = client.got.left(client.got.indexOf("\r\n\r\n")), body = client.got.mid(head.size() + 4);
            const bool live = row.sent.contains(" /state.json ") || row.sent.contains(" /events ");
            for (const QByteArray &header : {"Content-Type: " + row.type,
                                             QByteArray("Content-Security-Policy: default-src 'self'; base-uri 'none'; form-action 'none'; object-src 'none'"),
                                             QByteArray("X-Content-Type-Options: nosniff"), QByteArray("Referrer-Policy: no-referrer"),
                                             QByteArray(live && row.statuses[0] == '2' ? "Cache-Control: no-store" : "Cache-Control: no-cache")})
                QVERIFY2((head + "\r\n").contains("\r\n" + header + "\r\n"), header);
            QCOMPARE(head.contains("\r\nAllow: GET, HEAD"), QByteArray(row.statuses).startsWith("405"));
            QVERIFY2(body.startsWith(row.body) && (!row.sent.startsWith("HEAD") || body.isEmpty()), body.left(80));
            if (row.sent.startsWith("GET /state.json"))
                QCOMPARE(shape(QJsonDocument::fromJson(body).object()),
                         "{blue:{colour:s,flags:n,name:s,performer:{club:s,name:s}},bout:s,clock:{colour:s,minutes:s,shown:b,tens:s,text:s,units:s,warning:b},"
                         "field:{caption:s,number:s},format:n,mirrored:b,red:{colour:s,flags:n,name:s,performer:{club:s,name:s}}}");
            if (row.sent.startsWith("HEAD /?")) // the length of what GET gives
                QVERIFY(head.contains("Content-Length: " + QByteArray::number(testing::readFile(":/web/board.html").size())));
        }
    }

    // 300 connections at once. Silent ones from one address take at most 32 places, from ten 256, and with every place
    // taken the quietest makes room: a viewer from elsewhere is answered at once. Of 300 pages from ten devices, 256 are
    // served and hear of the next decision, the rest and the viewer are closed at once; however fast pages come and go,
    // the console's window hears of their number at most four times a second.
    void crowds()
    {
        board->setLimits({.requestTimeoutMs = 10'000}); // a slow system takes its time to ask
        serve({true, 0, Where::ThisPc, {}});
        const struct {
            QByteArray sent;
            int addresses, held, heldWithTheViewer;
        } rows[] = {{"", 1, 32, 32}, {"", 10, 256, 255}, {request("GET", "/events"), 10, 256, 256}};
        for (const auto &row : rows) {
            const bool pages = !row.sent.isEmpty();
            QSignalSpy told(board, &BrowserBoard::statusChanged);
            QElapsedTimer time;
            time.start();
            std::vector<std::unique_ptr<Client>> crowd;
            for (int i = 0; i < 300; ++i)
                crowd.push_back(std::make_unique<Client>(board->port(), row.sent, 0,
                                                         QStringLiteral("127.0.%1.%2").arg(10 + row.addresses + pages).arg(i % row.addresses + 1)));
            auto count = [&](auto test) { return std::count_if(crowd.begin(), crowd.end(), [&](auto &p) { return test(*p); }); };
            const auto open = [&] { return count([](const Client &p) { return !p.closed(); }); };
            QTRY_COMPARE_WITH_TIMEOUT(open(), row.held, 10000);
            QTRY_COMPARE(board->pages(), pages ? row.held : 0);
            Client viewer(board->port(), request("GET", "/state.json"), 0, QStringLiteral("127.0.0.2"));
            QTRY_VERIFY_WITH_TIMEOUT(pages ? viewer.closed() : viewer.got.contains("\r\n\r\n{"), 1000); // pages keep their places
            QTRY_COMPARE(open(), row.heldWithTheViewer);
            if (!pages)
                continue;
            c->click("Optionr4");
            QTRY_COMPARE_WITH_TIMEOUT(count([](const Client &p) { return p.last("red")["flags"] == 4 && p.last("blue")["flags"] == 1; }), 256, 10000);
            for (auto &page : crowd)
                page->got.clear();
            QElapsedTimer burst; // a thousand changes at once: a few events per page, the last with the latest state
            burst.start();
            for (int i = 1; i <= 1000; ++i, QCoreApplication::processEvents())
                c->kata->publicBoard().setCounts(i / 100 % 10, 3);
            QTRY_COMPARE(count([](const Client &p) { return p.last("red")["flags"] == 0 && p.last("blue")["flags"] == 3; }), 256);
            QCOMPARE(count([&](const Client &p) { return p.got.count("data: ") > 3 + burst.elapsed() / 100; }), 0);
            crowd.clear();
            QTRY_COMPARE(board->pages(), 0);
            QVERIFY2(told.size() >= 2 && told.size() <= 2 + time.elapsed() / 250, qPrintable(QString::number(told.size())));
        }
    }

    // While the clock runs, a page that stops reading is dropped once 1 MiB waits for it, not before; pages that stop
    // reading together are dropped once all they hold passes the board's budget (2 MiB here). The others go on.
    void pagesThatStopReading()
    {
        c->click("Command4");
        const struct {
            int stalled;
            long long budget;
            double from, to;
        } rows[] = {{1, 32 << 20, 1, 1.25}, {4, 2 << 20, 0.5, 0.75}}; // MiB sent to each
        for (const auto &row : rows) {
            board->setLimits({.allBacklogBytes = row.budget, .requestTimeoutMs = kTimeout, .coalesceMs = 0}); // every change an event
            serve({true, 0, Where::ThisPc, {}});
            Client reader(board->port(), request("GET", "/events"));
            std::vector<std::unique_ptr<Client>> stalled;
            for (int i = 0; i < row.stalled; ++i)
                stalled.push_back(std::make_unique<Client>(board->port(), request("GET", "/events"), 1));
            QTRY_COMPARE(board->pages(), 1 + row.stalled);
            QTest::qWait(browserboard::HttpBoard::kPagesToldMs); // the next change is told at once
            int tick = 0;
            for (; tick < 20000 && board->pages() == 1 + row.stalled; ++tick)
                this->tick(tick, reader);
            const double sent = double(reader.got.size()) / (1 << 20);                                           // as much as each page was sent
            QVERIFY2(sent > row.from && (sent < row.to || !testing::kPosix), qPrintable(QString::number(sent))); // Windows: see kPosix below
            QTRY_COMPARE(board->pages(), 1 + row.stalled - 1);
            QTRY_COMPARE(reader.last("clock")["tens"].toString(), QString::number(tick - 1));
        }
        c->click("Command5");
    }

    // A page that sends once it stopped reading is closing: no longer an open page, and gone after the deadline
    // with what waited for it.
    void aPageClosing()
    {
        board->setLimits({.requestTimeoutMs = kTimeout, .coalesceMs = 0});
        serve({true, 0, Where::ThisPc, {}});
        Client reader(board->port(), request("GET", "/events")), stalled(board->port(), request("GET", "/events"), 1);
        QTRY_COMPARE(board->pages(), 2);
        for (int tick = 0; reader.got.size() < 400 * 1024; ++tick) // beyond what the system holds for it
            this->tick(tick, reader);
        stalled.write("x");
        QTRY_COMPARE(board->pages(), 1);
        QTest::qWait(kTimeout + 300);
        stalled.readAgain();
        QTRY_VERIFY_WITH_TIMEOUT(stalled.closed(), 30000); // under Wine, what the system held comes first, slowly
        QVERIFY2(stalled.got.size() < reader.got.size() / 2 || !testing::kPosix, qPrintable(QString::number(stalled.got.size())));
    }

    // 256 connections that ask again and again and never read: each may hold 64 KiB of answers, and the
    // program grows by a few MB (it grew by 244 MB while each might hold 1 MiB).
    void aCrowdThatNeverReads()
    {
        if (residentKb() < 0)
            QSKIP("the system does not say how much memory this process takes");
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer keeps freed memory aside: the growth would say nothing");
#endif
        board->setLimits({.requestTimeoutMs = 10'000});
        serve({true, 0, Where::ThisPc, {}});
        const long before = residentKb();
        QByteArray asks;
        for (int i = 0; i < 200; ++i)
            asks += request("GET", "/board.css");
        std::vector<std::unique_ptr<Client>> crowd;
        for (int i = 0; i < 256; ++i)
            crowd.push_back(std::make_unique<Client>(board->port(), asks, 1, QStringLiteral("127.0.30.%1").arg(i % 8 + 1)));
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(crowd.begin(), crowd.end(), [](auto &client) { return !client->bytesToWrite(); }), 10000);
        QTest::qWait(1000);
        const long grown = residentKb() - before;
        qInfo("%ld kB more with 256 connections that never read", grown);
        QVERIFY2(grown < 40 * 1024, qPrintable(QString::number(grown)));
    }

    // An error that stops Qt's server taking connections (a client gone before it is taken, on Windows; made here
    // as Qt makes it) pauses the board's taking for a moment only, and is said once.
    void takingAgainAfterAnError()
    {
        browserboard::HttpBoard server;
        server.start(QHostAddress::LocalHost, 0, {}, 1);
        auto *gate = server.findChild<QTcpServer *>(QStringLiteral("gate"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not take a connection"));
        QTest::failOnWarning(QRegularExpression("."));
        for (int error = 0; error < 2; ++error) {
            gate->pauseAccepting();
            emit gate->acceptError(QAbstractSocket::SocketResourceError);
        }
        Client client(gate->serverPort(), request("GET", "/state.json"));
        QTest::qWait(browserboard::HttpBoard::kAcceptPauseMs / 2);
        QVERIFY(client.got.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(client.got.startsWith("HTTP/1.1 200 OK"), browserboard::HttpBoard::kAcceptPauseMs * 2);
    }

    // Switched on by the operator, remembered beside kata.ini; a port in use or a foreign address is said.
    void switchingOnAndOff()
    {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost));
        const quint16 port = taken.serverPort();
        const QString file = QDir(c->fake.dir.path()).filePath(QStringLiteral("browser.ini"));
        for (const auto &[choice, message] :
             {std::pair{browserboard::ServeChoice{true, port, Where::ThisPc, {}}, QStringLiteral("port %1 is in use").arg(port)},
              {{true, 8080, Where::Address, "192.0.2.1"}, "192.0.2.1 is not a network address of this PC (port 8080)"}}) {
            serve(choice, true);
            QCOMPARE(board->status(), BrowserBoard::Status::Off);
            QVERIFY2(c->fake.messages.shown.takeLast().text.contains(message), qPrintable(message));
        }
        taken.close();
        c->click("webbord");
        QWidget *window = testing::windowsNamed("Webbord").value(0);
        const auto in = [window](const char *name) { return window->findChild<QWidget *>(QLatin1String(name)); };
        serve({true, 0, Where::Everywhere, {}}); // every address, best first, asked anew as the window opens; loopback alone is said so
        for (const auto &[found, shown] : {std::pair{QList<platform::NetworkAddress>{{"127.0.0.1"}, {"10.0.0.7"}, {"192.168.1.20", true}},
                                                     "http://192.168.1.20:%1/\nhttp://10.0.0.7:%1/\nhttp://127.0.0.1:%1/"},
                                           {{{"127.0.0.1"}}, "No network yet: this PC only\nhttp://127.0.0.1:%1/"}}) {
            c->fake.network.found = found;
            c->click("webbord");
            QTRY_COMPARE(in("Label4")->property("text").toString(), QString(shown).arg(board->port()));
            const auto *label = static_cast<QLabel *>(in("Label4")); // all in view, the font no smaller than needed
            const QRect need = QFontMetrics(label->font(), label).boundingRect(QRect(0, 0, 9999, 9999), 0, label->text());
            QVERIFY(need.width() <= label->width() && need.height() <= label->height());
            QCOMPARE(label->font().pointSizeF() < 15.75, found.size() > 2);
        }
        board->switchOff(false);
        static_cast<QRadioButton *>(in("Option3"))->click();
        static_cast<QLineEdit *>(in("Text1"))->setText(QString::number(port));
        static_cast<QCheckBox *>(in("Check1"))->click();
        QTRY_COMPARE(in("Label4")->property("text").toString(), QStringLiteral("http://127.0.0.1:%1/").arg(port));
        QVERIFY(!in("Text1")->isEnabled() && window->isVisible());
        const QByteArray saved = "on=1\r\nport=" + QByteArray::number(port) + "\r\nlisten=this-pc\r\n";
        QTRY_VERIFY(QFileInfo::exists(file)); // read once written: Windows renames no file that is open
        QCOMPARE(testing::readFile(file), saved);
        QVERIFY(!QFile::exists(c->fake.settingsPath())); // kata.ini keeps to itself
        c->restart();                                    // the next start serves again
        QTRY_COMPARE(c->kata->browser().port(), port);
        const QDateTime first = QFileInfo(file).lastModified();
        c->kata->browser().switchOff(true);
        QTRY_VERIFY(QFileInfo(file).lastModified() != first);
        QCOMPARE(testing::readFile(file), QByteArray(saved).replace("on=1", "on=0"));
        QVERIFY(c->fake.messages.shown.isEmpty());
        QVERIFY(testing::writeFile(file, saved));       // --serve wins over browser.ini, which keeps its port free and its word
        QVERIFY(taken.listen(QHostAddress::LocalHost)); // a free port, given back
        const quint16 other = taken.serverPort();
        taken.close();
        c->restart(browserboard::parseServe("127.0.0.1:" + std::to_string(other)));
        QTRY_COMPARE(c->kata->browser().port(), other);
        QVERIFY(taken.listen(QHostAddress::LocalHost, port) && testing::readFile(file) == saved && c->fake.messages.shown.isEmpty());
    }
};

QTEST_MAIN(BrowserBoardTest)
#include "tst_browserboard.moc"
