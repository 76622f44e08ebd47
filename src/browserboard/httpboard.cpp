#include "browserboard/httpboard.h"

#include "platform/socket.h"
#include "scoreboard/boarddesign.h"
#include "ui/colours.h"
#include "ui/design.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace browserboard {

namespace {

using Status = QHttpServerResponder::StatusCode;

// The program's own files, the only ones served: no path reaches the file system.
struct BuiltIn {
    const char *path;
    const char *resource;
    const char *type;
};
constexpr BuiltIn kBuiltIn[] = {
    {"/", ":/web/board.html", "text/html; charset=utf-8"},
    {"/overlay", ":/web/overlay.html", "text/html; charset=utf-8"},
    {"/board.css", ":/web/board.css", "text/css; charset=utf-8"},
    {"/board.js", ":/web/board.js", "text/javascript; charset=utf-8"},
    {"/results", ":/web/results.html", "text/html; charset=utf-8"},
    {"/results.css", ":/web/results.css", "text/css; charset=utf-8"},
    {"/results.js", ":/web/results.js", "text/javascript; charset=utf-8"},
    {"/flags/red.svg", ":/flags/red.svg", "image/svg+xml"},
    {"/flags/blue.svg", ":/flags/blue.svg", "image/svg+xml"},
    {"/favicon.svg", ":/icons/taikan.svg", "image/svg+xml"},
};

struct Served {
    QByteArray type;
    QByteArray bytes;
};

// Read once, from the program itself.
const QHash<QByteArray, Served> &builtIn()
{
    static const QHash<QByteArray, Served> files = [] {
        QHash<QByteArray, Served> all;
        for (const BuiltIn &file : kBuiltIn) {
            QFile resource(QLatin1String(file.resource));
            all.insert(file.path, {file.type, resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray()});
        }
        return all;
    }();
    return files;
}

// A browser loads nothing but the program's own files into these pages.
constexpr char kPolicy[] = "default-src 'self'; base-uri 'none'; form-action 'none'; object-src 'none'";
// A page reconnects a second after it lost the board.
constexpr char kRetry[] = "retry: 1000\n\n";
// The board's answers where a request's line and headers are too long, and
// where a request comes with a body (only GET and HEAD are served); then it
// closes the connection.
constexpr char kTooLarge[] = "HTTP/1.1 431 Request Header Fields Too Large\r\nContent-Length: 0\r\n"
                             "Connection: close\r\nX-Content-Type-Options: nosniff\r\n\r\n";
constexpr char kWithBody[] = "HTTP/1.1 413 Content Too Large\r\nContent-Length: 0\r\n"
                             "Connection: close\r\nX-Content-Type-Options: nosniff\r\n\r\n";
// The answer to a WebSocket's request.
constexpr char kNoWebSocket[] = "This board sends its live updates as Server-Sent Events, at /events.\n";
// What the kernel holds for one connection; beyond, the backlog shows in bytesToWrite().
constexpr int kSendBuffer = 64 * 1024;

void writeHeaders(QHttpServerResponder &responder, Status status, const QByteArray &type, bool fresh)
{
    responder.writeStatusLine(status);
    responder.writeHeader("Content-Type", type);
    responder.writeHeader("Content-Security-Policy", kPolicy);
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    responder.writeHeader("Referrer-Policy", "no-referrer");
    // The state is never kept by a browser or a proxy; the files are asked for again.
    responder.writeHeader("Cache-Control", fresh ? "no-store" : "no-cache");
    if (status == Status::MethodNotAllowed)
        responder.writeHeader("Allow", "GET, HEAD");
}

void answer(QHttpServerResponder &responder, Status status, const QByteArray &type, const QByteArray &body, bool head,
            bool fresh = false)
{
    writeHeaders(responder, status, type, fresh);
    responder.writeHeader("Content-Length", QByteArray::number(body.size()));
    responder.writeBody(head ? QByteArray() : body);
}

QString designText(std::string_view name) { return ui::qs(scoreboard::designRow(name).text); }
QString designFill(std::string_view name) { return ui::toQColor(scoreboard::designRow(name).back).name(); }

// The state as /state.json gives it; format 1.
QByteArray stateJson(const board::State &state)
{
    const QJsonObject clock{
        {"shown", state.clockShown},
        {"text", QString::fromStdString(state.clockText())},
        {"minutes", QString::fromStdString(state.minutes)},
        {"tens", QString::fromStdString(state.tens)},
        {"units", QString::fromStdString(state.units)},
        {"warning", state.warning()},
        {"colour", ui::toQColor(state.clockColour).name()},
    };
    const auto qs = [](const std::string &text) { return QString::fromStdString(text); };
    const board::Performers &who = state.performers;
    const QJsonObject json{
        {"format", 1},
        {"red",
         QJsonObject{{"name", designText("Label1_1")},
                     {"colour", designFill("Shape2")},
                     {"flags", state.red},
                     {"performer", QJsonObject{{"name", qs(who.redName)}, {"club", qs(who.redClub)}}}}},
        {"blue",
         QJsonObject{{"name", designText("Label1_2")},
                     {"colour", designFill("Shape1")},
                     {"flags", state.blue},
                     {"performer", QJsonObject{{"name", qs(who.blueName)}, {"club", qs(who.blueClub)}}}}},
        {"bout", qs(who.bout)},
        {"field",
         QJsonObject{{"caption", designText("Label1_3")}, {"number", QString::fromStdString(state.fieldNumber)}}},
        {"clock", clock},
        {"mirrored", state.mirrored},
    };
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

// The client's address, one way of writing it (IPv4 as IPv4, also where an
// IPv6 socket writes it mapped).
std::string clientAddress(const QHostAddress &address)
{
    bool v4 = false;
    const quint32 ip = address.toIPv4Address(&v4);
    return (v4 ? QHostAddress(ip) : address).toString().toStdString();
}

// Takes each connection as it comes, or closes it at once.
class Gate final : public QTcpServer {
public:
    Gate(std::function<bool(QTcpSocket *)> admit, QObject *parent) : QTcpServer(parent), m_admit(std::move(admit)) {}

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        if (socket->setSocketDescriptor(descriptor) && m_admit(socket)) {
            addPendingConnection(socket);
            return;
        }
        socket->abort();
        delete socket;
    }

private:
    std::function<bool(QTcpSocket *)> m_admit;
};

// Qt's HTTP server warns of what strangers send (a WebSocket asked for, a
// request it cannot read), as often as they send it; the board answers them
// and keeps its standard error for what matters: those warnings show only
// where the category's debug output is switched on (QT_LOGGING_RULES).
QLoggingCategory::CategoryFilter g_otherFilter = nullptr;
void quietHttpServer(QLoggingCategory *category)
{
    if (g_otherFilter)
        g_otherFilter(category);
    if (qstrncmp(category->categoryName(), "qt.httpserver", 13) == 0)
        category->setEnabled(QtWarningMsg, category->isDebugEnabled());
}

} // namespace

HttpBoard::HttpBoard() : m_heartbeat(new QTimer(this)), m_coalesce(new QTimer(this)), m_pagesTold(new QTimer(this))
{
    m_clock.start();
    m_pagesTold->setObjectName(QStringLiteral("pagesTold"));
    m_pagesTold->setSingleShot(true);
    m_pagesTold->setInterval(kPagesToldMs);
    connect(m_pagesTold, &QTimer::timeout, this, &HttpBoard::tellPages);
    setObjectName(QStringLiteral("httpboard"));
    static const bool quiet = (g_otherFilter = QLoggingCategory::installFilter(quietHttpServer), true);
    Q_UNUSED(quiet);
    m_heartbeat->setObjectName(QStringLiteral("heartbeat"));
    connect(m_heartbeat, &QTimer::timeout, this, [this] { toPages(m_event); });
    m_coalesce->setObjectName(QStringLiteral("coalesce"));
    m_coalesce->setSingleShot(true);
    m_coalesce->setTimerType(Qt::PreciseTimer);
    connect(m_coalesce, &QTimer::timeout, this, &HttpBoard::sendState);
    publish(board::State::opened("0", false));
}

HttpBoard::~HttpBoard() { stop(); }

void HttpBoard::start(const QHostAddress &address, quint16 port, const Limits &limits, int generation)
{
    stop();
    m_limits = limits;
    m_heartbeat->setInterval(m_limits.heartbeatMs);
    auto *gate = new Gate([this](QTcpSocket *socket) { return take(socket); }, this);
    gate->setObjectName(QStringLiteral("gate"));
    // Connections that come at once wait to be taken rather than being
    // refused by the system (Windows refuses beyond the backlog).
    gate->setListenBacklogSize(m_limits.connections);
    if (!gate->listen(address, port)) {
        emit refused(generation, gate->serverError(), gate->errorString());
        delete gate;
        return;
    }
    // Qt's server stops taking connections after an error it does not count
    // as passing (out of descriptors; on Windows, a client that resets
    // before it is taken): the board takes them again after a pause.
    m_acceptErrorSaid = false;
    connect(gate, &QTcpServer::acceptError, this, [this, gate](QAbstractSocket::SocketError) {
        if (!std::exchange(m_acceptErrorSaid, true))
            qWarning("Taikan: the browser scoreboard could not take a connection (%s); it tries again every %d ms",
                     qPrintable(gate->errorString()), kAcceptPauseMs);
        QTimer::singleShot(kAcceptPauseMs, gate, [gate] { gate->resumeAccepting(); });
    });
    bind(gate);
    m_gate = gate;
    m_heartbeat->start();
    emit listening(generation, gate->serverPort());
}

void HttpBoard::stop()
{
    m_heartbeat->stop();
    m_coalesce->stop();
    delete m_gate.data(); // with every connection
}

int HttpBoard::pages() const
{
    int pages = 0;
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it)
        pages += it->page && it.key()->state() == QAbstractSocket::ConnectedState;
    return pages;
}

void HttpBoard::tellPages()
{
    // However fast pages come and go, the console hears of it a few times a second.
    if (m_pagesTold->isActive() || pages() == m_toldPages)
        return;
    m_toldPages = pages();
    emit pagesChanged(m_toldPages);
    m_pagesTold->start();
}

void HttpBoard::publish(const board::State &state)
{
    m_json = stateJson(state);
    m_event = "data: " + m_json + "\n\n";
    if (m_coalesce->isActive())
        return; // the event on its way takes this state
    const qint64 since = m_sent.isValid() ? m_sent.elapsed() : m_limits.coalesceMs;
    if (since >= m_limits.coalesceMs)
        sendState();
    else
        m_coalesce->start(int(m_limits.coalesceMs - since));
}

void HttpBoard::sendState()
{
    m_sent.start();
    toPages(m_event);
}

void HttpBoard::toPages(const QByteArray &bytes)
{
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it)
        if (it->page)
            send(it.key(), bytes);
    keepWithinBudget();
}

bool HttpBoard::take(QTcpSocket *socket)
{
    std::vector<Held> held;
    std::vector<QTcpSocket *> sockets;
    const qint64 now = m_clock.elapsed();
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it) {
        held.push_back(
            {it->address, it->page && it.key()->state() == QAbstractSocket::ConnectedState, now - it->quietSince});
        sockets.push_back(it.key());
    }
    const std::string address = clientAddress(socket->peerAddress());
    const Admission admission = admit(held, address, m_limits);
    if (!admission.taken)
        return false;
    if (admission.replaces) {
        QTcpSocket *quiet = sockets[*admission.replaces];
        if (m_connections.take(quiet).page)
            tellPages();
        quiet->abort();
    }
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBuffer);
    // Qt takes no more from the network than one request may hold.
    socket->setReadBufferSize(m_limits.requestBytes + 1);
    auto *deadline = new QTimer(socket);
    deadline->setObjectName(QStringLiteral("deadline"));
    deadline->setSingleShot(true);
    deadline->setInterval(m_limits.requestTimeoutMs);
    connect(deadline, &QTimer::timeout, socket, &QAbstractSocket::abort);
    deadline->start();
    Connection connection;
    connection.deadline = deadline;
    connection.address = address;
    connection.quietSince = now;
    m_connections.insert(socket, connection);
    connect(socket, &QObject::destroyed, this, [this, socket] {
        if (m_connections.take(socket).page)
            tellPages();
    });
    connect(socket, &QAbstractSocket::stateChanged, this, [this, socket](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::ClosingState)
            closing(socket);
    });
    // Connected before Qt's parser, which connects when the gate hands the socket on.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { screen(socket); });
    return true;
}

void HttpBoard::screen(QTcpSocket *socket)
{
    const auto known = m_connections.find(socket);
    if (known == m_connections.end())
        return; // made room for another: closed
    Connection &connection = *known;
    if (connection.page || connection.refused || socket->state() != QAbstractSocket::ConnectedState) {
        // A live page sends nothing: it is closed. Nothing more reaches Qt's parser.
        if (socket->isTransactionStarted())
            socket->commitTransaction();
        socket->skip(socket->bytesAvailable());
        if (connection.page)
            socket->disconnectFromHost();
        return;
    }
    // What Qt's parser has not read yet; it reads it all unless a request
    // ends in it (then handleRequest() starts the count anew, and the rest
    // comes again).
    const QByteArray unread = socket->peek(socket->bytesAvailable());
    if (!connection.body) {
        const auto end = connection.scan.feed(std::string_view(unread.constData(), std::size_t(unread.size())));
        if (end && connection.partial + qint64(*end) <= m_limits.requestBytes)
            connection.body = true; // unless the request ends here
        else if (end || connection.partial + unread.size() > m_limits.requestBytes)
            return refuse(socket, kTooLarge);
    }
    connection.partial += unread.size();
    if (connection.body && connection.partial > m_limits.requestBytes)
        refuse(socket, kWithBody);
}

void HttpBoard::refuse(QTcpSocket *socket, const QByteArray &answer)
{
    closeGently(socket);
    socket->write(answer);
    socket->flush();
    if (!socket->bytesToWrite())
        platform::shutDownSending(socket->socketDescriptor());
}

void HttpBoard::closeGently(QTcpSocket *socket)
{
    // The answer goes, then the end of it; what the client still sends is read
    // and thrown away (closing with unread bytes would reset the connection,
    // and the client could lose the answer), for a short while.
    Connection &connection = *m_connections.find(socket);
    connection.refused = true;
    if (socket->isTransactionStarted())
        socket->commitTransaction();
    socket->skip(socket->bytesAvailable());
    connection.deadline->start(std::min(m_limits.requestTimeoutMs, kLingerMs));
    connect(socket, &QTcpSocket::bytesWritten, this, [socket] {
        if (!socket->bytesToWrite())
            platform::shutDownSending(socket->socketDescriptor());
    });
}

void HttpBoard::closing(QTcpSocket *socket)
{
    // Closing, its answers wait for a client that may never read them: gone
    // after a while, and no longer a page.
    const auto known = m_connections.find(socket);
    if (known == m_connections.end())
        return;
    if (!known->refused)
        known->deadline->start(m_limits.requestTimeoutMs);
    if (known->page)
        tellPages();
}

void HttpBoard::send(QTcpSocket *socket, const QByteArray &bytes)
{
    if (socket->state() != QAbstractSocket::ConnectedState)
        return;
    socket->write(bytes);
    keepBounded(socket);
}

void HttpBoard::keepBounded(QTcpSocket *socket)
{
    socket->flush();
    const auto known = m_connections.find(socket);
    if (known != m_connections.end()
        && socket->bytesToWrite() > (known->page ? m_limits.backlogBytes : m_limits.answerBytes + known->allowance))
        drop(socket);
}

void HttpBoard::publishResults(std::shared_ptr<const competition::ResultsTable> results)
{
    m_results = std::move(results);
    m_resultsJson.clear();
    // Never the same tag for other results, also in the next run of the program.
    m_resultsTag = "\"" + QByteArray::number(m_started) + "-" + QByteArray::number(++m_resultsVersion) + '"';
}

const QByteArray &HttpBoard::resultsJson()
{
    if (m_resultsJson.isEmpty()) {
        const std::string json = browserboard::resultsJson(m_results ? *m_results : competition::ResultsTable{});
        m_resultsJson = QByteArray(json.data(), qsizetype(json.size()));
        if (m_resultsTag.isEmpty())
            m_resultsTag = "\"" + QByteArray::number(m_started) + "-0\"";
    }
    return m_resultsJson;
}

void HttpBoard::drop(QTcpSocket *socket)
{
    const auto known = m_connections.find(socket);
    const bool page = known != m_connections.end() && known->page;
    socket->abort();
    if (page)
        tellPages(); // now: it is gone before Qt deletes it
}

void HttpBoard::keepWithinBudget()
{
    for (;;) {
        std::vector<long long> waiting;
        std::vector<QTcpSocket *> sockets;
        for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it) {
            waiting.push_back(it.key()->bytesToWrite());
            sockets.push_back(it.key());
        }
        const auto over = overBudget(waiting, m_limits);
        if (!over)
            return;
        drop(sockets[*over]);
    }
}

bool HttpBoard::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const auto known = m_connections.find(socket);
    if (known == m_connections.end()) {
        socket->abort();
        return true;
    }
    Connection &connection = *known;
    if (connection.refused || socket->state() != QAbstractSocket::ConnectedState)
        return true;
    connection.partial = 0;
    connection.allowance = 0;
    connection.scan = {};
    connection.body = false;
    connection.quietSince = m_clock.elapsed();
    connection.deadline->start(m_limits.requestTimeoutMs); // for the next request on this connection
    if (!request.body().isEmpty() || !request.value("transfer-encoding").isEmpty()) {
        // Only GET and HEAD are served, and neither comes with a body.
        refuse(socket, kWithBody);
        return true;
    }

    QHttpServerResponder responder = makeResponder(request, socket);
    const QHttpServerRequest::Method method = request.method();
    const bool head = method == QHttpServerRequest::Method::Head;
    const QByteArray path = request.url().path().toUtf8();
    if (request.value("upgrade").toLower().contains("websocket")) {
        // Live updates come as Server-Sent Events only.
        writeHeaders(responder, Status::BadRequest, "text/plain; charset=utf-8", false);
        responder.writeHeader("Connection", "close");
        responder.writeHeader("Content-Length", QByteArray::number(sizeof kNoWebSocket - 1));
        responder.writeBody(kNoWebSocket);
        socket->disconnectFromHost();
    } else if (!head && method != QHttpServerRequest::Method::Get) {
        answer(responder, Status::MethodNotAllowed, "text/plain; charset=utf-8", "GET and HEAD only\n", false);
    } else if (path == "/events") {
        writeHeaders(responder, Status::Ok, "text/event-stream", true);
        if (head) {
            responder.writeBody(QByteArray());
        } else {
            responder.writeBody(kRetry + m_event);
            connection.page = true;
            connection.deadline->stop();
            tellPages();
        }
    } else if (path == "/state.json") {
        answer(responder, Status::Ok, "application/json", m_json, head, true);
    } else if (path == "/results.json") {
        // Large with a long list, and asked for again and again by every
        // page: only whether it changed is answered where it did not.
        const QByteArray &json = resultsJson();
        if (request.value("if-none-match") == m_resultsTag) {
            writeHeaders(responder, Status::NotModified, "application/json", false);
            responder.writeHeader("ETag", m_resultsTag);
            responder.writeBody(QByteArray());
        } else {
            writeHeaders(responder, Status::Ok, "application/json", false);
            responder.writeHeader("ETag", m_resultsTag);
            responder.writeHeader("Content-Length", QByteArray::number(json.size()));
            responder.writeBody(head ? QByteArray() : json);
            connection.allowance = head ? 0 : json.size();
        }
    } else if (const auto file = builtIn().constFind(path); file != builtIn().cend()) {
        answer(responder, Status::Ok, file->type, file->bytes, head);
    } else {
        answer(responder, Status::NotFound, "text/plain; charset=utf-8", "Not found\n", head);
    }
    keepBounded(socket);
    keepWithinBudget();
    return true;
}

void HttpBoard::missingHandler(const QHttpServerRequest &, QTcpSocket *socket)
{
    const auto known = m_connections.find(socket);
    if (known == m_connections.end() || !known->refused)
        socket->disconnectFromHost();
}

} // namespace browserboard
