#pragma once

#include "board/boardstate.h"
#include "browserboard/serving.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QPointer>

class QTcpServer;
class QTimer;

namespace browserboard {

// The board over HTTP, read-only: the page, its style, script and flags
// (built into the program), the current state as JSON, and the state as
// Server-Sent Events to every open page. It lives in a thread of its own;
// the console's thread hands it each change and goes on.
//
// It guards itself (Limits): connections beyond the cap are closed at once,
// a request's line and headers are counted before Qt's parser reads them,
// a connection without a complete request is closed after a while, and a
// page that stops reading is dropped once its backlog passes the cap.
class HttpBoard : public QAbstractHttpServer {
    Q_OBJECT
public:
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

    // The live pages now connected.
    int pages() const;

signals:
    void pagesChanged(int pages);
    void listening(int generation, quint16 port);
    void refused(int generation, int socketError, const QString &reason);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct Connection {
        QTimer *deadline = nullptr; // for a complete request
        qint64 requestBytes = 0;    // received since the last complete request
        bool page = false;          // a live page: receives events, sends nothing
    };
    bool admit(QTcpSocket *socket);
    void screen(QTcpSocket *socket);
    void send(QTcpSocket *socket, const QByteArray &bytes);
    void keepBounded(QTcpSocket *socket);
    void toPages(const QByteArray &bytes);
    void sendState();

    Limits m_limits;
    QPointer<QTcpServer> m_gate;
    QTimer *m_heartbeat;
    QTimer *m_coalesce;      // the latest state, once the last event is old enough
    QElapsedTimer m_sent;    // since the last event
    QHash<QTcpSocket *, Connection> m_connections;
    QByteArray m_json;  // the state
    QByteArray m_event; // the state as an event
};

} // namespace browserboard
