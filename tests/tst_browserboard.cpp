// The browser board on loopback, through real sockets: every route, what a
// hostile or careless client can do to it, the console's changes reaching
// live pages, and switching it on and off.
#include "browserboard/browserboard.h"
#include "support/console.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>

using browserboard::BrowserBoard;
using browserboard::Where;

namespace {

constexpr int kTimeout = 400; // for a complete request, instead of 10 s

QByteArray request(const char *method, const QByteArray &path) { return method + (' ' + path) + " HTTP/1.1\r\nHost: b\r\n\r\n"; }

// A client on the board's port: what it was answered, and whether the board closed the connection.
struct Client : QTcpSocket {
    QByteArray got;
    Client(quint16 port, const QByteArray &bytes, int readBuffer = 0)
    {
        setReadBufferSize(readBuffer); // 1: stops reading after the first byte
        connect(this, &QTcpSocket::readyRead, this, [this] { got += readAll(); });
        connectToHost(QHostAddress::LocalHost, port);
        write(bytes);
    }
    bool closed() const { return state() == UnconnectedState; }
    // The last event of a live page, as JSON.
    QJsonObject last() const
    {
        const qsizetype end = got.lastIndexOf("}\n\n");
        return QJsonDocument::fromJson(got.mid(got.lastIndexOf("data: ", end) + 6, end + 1 - got.lastIndexOf("data: ", end) - 6)).object();
    }
    int flags(const char *side) const { return last()[QLatin1String(side)][QLatin1String("flags")].toInt(-1); }
};

} // namespace

class BrowserBoardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;
    BrowserBoard *board = nullptr;

    void serve(browserboard::ServeChoice choice, bool remember = false)
    {
        board->switchOn(choice, remember);
        QTRY_VERIFY(board->status() != BrowserBoard::Status::Starting);
    }

private slots:
    void initTestCase()
    {
        c = std::make_unique<testing::Console>(nullptr, false);
        board = &c->kata->browser();
        board->setLimits({256, 8192, 64 * 1024, kTimeout, 5000});
        serve({true, 0, Where::ThisPc, {}});
        QCOMPARE(board->status(), BrowserBoard::Status::Serving);
    }

    void routes_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QByteArray>("answer"); // status, headers; "" for none
        QTest::addColumn<QByteArray>("body");   // the start of it
        QTest::addColumn<bool>("closes");
        const QByteArray html = "200 OK\r\nContent-Type: text/html; charset=utf-8";
        QTest::newRow("page") << request("GET", "/") << html << QByteArray("<!DOCTYPE html>") << false;
        QTest::newRow("HEAD") << request("HEAD", "/?x=1") << html << QByteArray() << false;
        QTest::newRow("overlay") << request("GET", "/overlay") << html << QByteArray("<!DOCTYPE html>") << false;
        for (const char *file : {"/board.css", "/board.js", "/flags/red.svg", "/flags/blue.svg", "/favicon.svg"})
            QTest::newRow(file) << request("GET", file) << QByteArray("200 OK\r\nContent-Type: ") << QByteArray() << false;
        QTest::newRow("state") << request("GET", "/state.json") << QByteArray("200 OK\r\nContent-Type: application/json")
                               << QByteArray("{\"blue\":{\"colour\":\"#0000c0\",\"flags\":0,\"name\":\"Ao\"},") << false;
        QTest::newRow("events, HEAD") << request("HEAD", "/events") << QByteArray("200 OK\r\nContent-Type: text/event-stream")
                                      << QByteArray() << false;
        for (const char *path : {"/nothing", "/../CMakeLists.txt", "/web/board.html", "//etc/passwd", "/%2e%2e/kata.ini"})
            QTest::newRow(path) << request("GET", path) << QByteArray("404 Not Found") << QByteArray("Not found") << false;
        for (const char *method : {"POST", "PUT", "DELETE", "OPTIONS", "BREW"})
            QTest::newRow(method) << request(method, "/state.json") << QByteArray("405 Method Not Allowed") << QByteArray()
                                  << false;
        QTest::newRow("header of 9 KiB") << "GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a') + "\r\n\r\n"
                                         << QByteArray("431 Request Header Fields Too Large") << QByteArray() << true;
        QTest::newRow("garbage") << QByteArray("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\n", 12) << QByteArray() << QByteArray() << true;
        QTest::newRow("says nothing") << QByteArray() << QByteArray() << QByteArray() << true;
    }
    // Each answer with its status, its headers and its body; only GET and HEAD of the program's own files.
    void routes()
    {
        QFETCH(QByteArray, sent);
        QFETCH(QByteArray, answer);
        QFETCH(QByteArray, body);
        QFETCH(bool, closes);
        QElapsedTimer time;
        time.start();
        Client client(board->port(), sent);
        QVERIFY(QTest::qWaitFor([&] { return client.closed() || client.got.contains("\r\n\r\n"); }, 3000));
        QTest::qWait(50);
        const qsizetype end = client.got.indexOf("\r\n\r\n");
        const QByteArray head = client.got.left(end), content = client.got.mid(end + 4);
        QVERIFY2(answer.isEmpty() ? head.isEmpty() : head.startsWith("HTTP/1.1 " + answer), head);
        QCOMPARE(client.closed(), closes);
        if (sent.isEmpty()) // closed once the time for a request is up, not before
            QVERIFY(time.elapsed() >= kTimeout - 50);
        if (answer.isEmpty() || closes)
            return;
        for (const char *header : {"\r\nContent-Security-Policy: default-src 'self'; base-uri 'none'; form-action 'none'; object-src 'none'\r\n",
                                   "\r\nX-Content-Type-Options: nosniff\r\n"})
            QVERIFY2(head.contains(header), header);
        const bool live = answer.startsWith("200") && (sent.contains(" /state.json ") || sent.contains(" /events "));
        QVERIFY(head.contains(live ? "\r\nCache-Control: no-store" : "\r\nCache-Control: no-cache"));
        QCOMPARE(head.contains("\r\nAllow: GET, HEAD"), answer.startsWith("405"));
        QVERIFY2(content.startsWith(body), content.left(80));
        // HEAD: the length of what GET gives, without it.
        if (sent.startsWith("HEAD /?"))
            QVERIFY(head.contains("Content-Length: " + QByteArray::number(testing::readFile(":/web/board.html").size())));
    }

    // 300 pages at once: 256 are served and hear of the next decision, the rest are closed at once.
    void crowd()
    {
        std::vector<std::unique_ptr<Client>> pages;
        for (int i = 0; i < 300; ++i)
            pages.push_back(std::make_unique<Client>(board->port(), request("GET", "/events")));
        auto count = [&](auto test) { return int(std::count_if(pages.begin(), pages.end(), [&](auto &p) { return test(*p); })); };
        QTRY_COMPARE_WITH_TIMEOUT(count([](const Client &p) { return p.closed(); }), 44, 10000);
        QTRY_COMPARE(board->pages(), 256);
        c->click("Optionr4");
        QTRY_COMPARE_WITH_TIMEOUT(count([](const Client &p) { return p.flags("red") == 4 && p.flags("blue") == 1; }), 256, 10000);
        QVERIFY(Client(board->port(), request("GET", "/")).waitForDisconnected(500)); // full: closed at once
        pages.clear();
        QTRY_COMPARE(board->pages(), 0);
    }

    // While the clock runs, a page that stops reading is dropped once its backlog is full; the others go on.
    void aPageThatStopsReading()
    {
        c->click("Command4");
        Client reader(board->port(), request("GET", "/events")), stalled(board->port(), request("GET", "/events"), 1);
        QTRY_COMPARE(board->pages(), 2);
        int tick = 0;
        for (; tick < 20000 && board->pages() == 2; ++tick) { // a clock at full speed
            board->writeClock(browserboard::Digit::Tens, QString::number(tick));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(board->pages(), 1);
        QVERIFY2(tick > 100, "not before its backlog is full");
        QTRY_COMPARE(reader.last()[QLatin1String("clock")][QLatin1String("tens")].toString(), QString::number(tick - 1));
        QVERIFY(reader.last()[QLatin1String("clock")][QLatin1String("shown")].toBool());
        c->click("Command5");
    }

    // Switched on by the operator, remembered beside kata.ini; a port in use or a foreign address is said.
    void switchingOnAndOff()
    {
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost));
        const quint16 port = taken.serverPort();
        const QString file = QDir(c->fake.dir.path()).filePath(QStringLiteral("browser.ini"));
        for (const auto &[choice, message] : {std::pair{browserboard::ServeChoice{true, port, Where::ThisPc, {}},
                                                        QStringLiteral("port %1 is in use").arg(port)},
                                              {{true, 8080, Where::Address, "192.0.2.1"}, QStringLiteral("192.0.2.1 is not a network address of this PC (port 8080)")}}) {
            serve(choice, true);
            QCOMPARE(board->status(), BrowserBoard::Status::Off);
            QVERIFY2(c->fake.messages.shown.takeLast().text.contains(message), qPrintable(message));
        }
        taken.close();
        c->click("webbord");
        QWidget *window = testing::windowsNamed("Webbord").value(0);
        QVERIFY(window && window->isVisible());
        window->findChild<QRadioButton *>(QStringLiteral("Option3"))->click();
        window->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QString::number(port));
        window->findChild<QCheckBox *>(QStringLiteral("Check1"))->click();
        QTRY_COMPARE(window->findChild<QLabel *>(QStringLiteral("Label4"))->text(), QStringLiteral("http://127.0.0.1:%1/").arg(port));
        QVERIFY(!window->findChild<QLineEdit *>(QStringLiteral("Text1"))->isEnabled());
        const QByteArray saved = "on=1\r\nport=" + QByteArray::number(port) + "\r\nlisten=this-pc\r\n";
        QTRY_COMPARE(testing::readFile(file), saved);
        QVERIFY(!QFile::exists(c->fake.settingsPath())); // kata.ini keeps to itself
        c->restart(); // the next start serves again
        QTRY_COMPARE(c->kata->browser().status(), BrowserBoard::Status::Serving);
        QCOMPARE(c->kata->browser().port(), port);
        c->kata->browser().switchOff(true);
        QTRY_COMPARE(testing::readFile(file), QByteArray(saved).replace("on=1", "on=0"));
        QVERIFY(c->fake.messages.shown.isEmpty());
    }
};

QTEST_MAIN(BrowserBoardTest)
#include "tst_browserboard.moc"
