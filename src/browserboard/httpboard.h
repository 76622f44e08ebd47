#pragma once

#include "board/boardstate.h"
#include "browserboard/serving.h"
#include "competition/progress.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QPointer>
#include <memory>

class QTcpServer;
class QTimer;

namespace browserboard {

// The board over HTTP, read-only: the page, its style, script and flags
// (built into the program), the current state as JSON, and the state as
// Server-Sent Events to every open page. It lives in a thread of its own;
// the console's thread hands it each change and goes on.
//
// It guards itself (Limits): one client address holds only so many
// connections; with all places taken, the connection quiet longest without
// a complete request makes room for a newcomer; a request's bytes are
// counted before Qt's parser reads them; a connection without a complete
// request, or closing with answers it does not read, is closed after a
// while; answers that wait for a client that does not read are bounded,
// for each connection and all together. An error in taking connections
// pauses the taking for a moment, never for good.
class HttpBoard : public QAbstractHttpServer {
    Q_OBJECT
public:
    // The number of live pages is told at most once in this time.
    static constexpr int kPagesToldMs = 250;
    // After an error in taking a connection, taking pauses this long.
    static constexpr int kAcceptPauseMs = 1000;
    // An answered connection that closes gently is read and thrown away for
    // at most this long (or the request deadline if shorter), then closed.
    static constexpr int kLingerMs = 2000;

    HttpBoard();
    ~HttpBoard() override;

    // Listens on `address` (port 0: any free one) within `limits`, instead
    // of where it did; answers with listening() or refused(), which carry
    // `generation`.
    void start(const QHostAddress &address, quint16 port, const Limits &limits, int generation);
    // Closes every connection and listens no more.
    void stop();
    // The state that every page shows from now on: at once, or, within a
    // burst of changes, as one event with the latest state once
    // Limits::coalesceMs have passed since the last.
    void publish(const board::State &state);
    // The day's results that /results.json gives from now on (made into
    // JSON here, at the first request after a change, not by the console).
    void publishResults(std::shared_ptr<const competition::ResultsTable> results);

    // The live pages now connected.
    int pages() const;

signals:
    // The number of live pages, at most once in kPagesToldMs.
    void pagesChanged(int pages);
    void listening(int generation, quint16 port);
    void refused(int generation, int socketError, const QString &reason);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Connection {
        QTimer *deadline = nullptr; // for a complete request; for a closing connection to go
        std::string address;        // the client's
        qint64 quietSince = 0;      // on m_clock: its last complete request, or its coming
        qint64 partial = 0;         // bytes of the request that Qt's parser reads now
        HeaderScan scan;            // its line and headers
        bool body = false;          // they are complete: the parser reads its body
        bool page = false;          // a live page: receives events, sends nothing
        bool refused = false;       // answered and closing: what it sends is thrown away
        long long allowance = 0;    // an answer larger than the bound (the results): its own size more
    };
    bool take(QTcpSocket *socket);
    void screen(QTcpSocket *socket);
    void refuse(QTcpSocket *socket, const QByteArray &answer);
    void closeGently(QTcpSocket *socket);
    void closing(QTcpSocket *socket);
    void send(QTcpSocket *socket, const QByteArray &bytes);
    void keepBounded(QTcpSocket *socket);
    void drop(QTcpSocket *socket); // aborted
    void keepWithinBudget();
    void toPages(const QByteArray &bytes);
    void sendState();
    const QByteArray &resultsJson();
    void tellPages();

    Limits m_limits;
    QPointer<QTcpServer> m_gate;
    QTimer *m_heartbeat;
    QTimer *m_coalesce;    // the latest state, once the last event is old enough
    QElapsedTimer m_sent;  // since the last event
    QElapsedTimer m_clock; // since the board was made
    QTimer *m_pagesTold;   // running: the number of pages was told less than kPagesToldMs ago
    int m_toldPages = 0;
    bool m_acceptErrorSaid = false;
    QHash<QTcpSocket *, Connection> m_connections;
    QByteArray m_json;  // the state
    QByteArray m_event; // the state as an event
    std::shared_ptr<const competition::ResultsTable> m_results;
    QByteArray m_resultsJson; // made from m_results at the first request for it
    QByteArray m_resultsTag;  // its ETag: a browser asks again only whether it changed
    quint64 m_resultsVersion = 0;
    qint64 m_started = QDateTime::currentMSecsSinceEpoch(); // this run's, in the results' tags
};

} // namespace browserboard
