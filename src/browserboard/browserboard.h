#pragma once

#include "board/publicboard.h"
#include "browserboard/serving.h"
#include "competition/progress.h"
#include "platform/platform.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class QThread;
class QWidget;

namespace browserboard {

class HttpBoard;
class Webbord;

// The scoreboard in any browser on the hall's network, live and read-only:
// a view of the board model. Once switched on, it hands each change of the
// model to the server in its own thread and goes on: the match never waits
// for a browser. Off by default; the choice is remembered in browser.ini beside
// kata.ini.
class BrowserBoard : public QObject {
    Q_OBJECT
public:
    enum class Status { Off, Starting, Serving };

    // `model`: what it shows; `console`: the window its messages and its own
    // window belong to.
    BrowserBoard(const board::PublicBoard &model, const platform::Platform &platform, QWidget *console);
    ~BrowserBoard() override;

    // At start-up: serves as `serve` says (the command line's choice, which
    // browser.ini never learns), or else as browser.ini says.
    void restore(const std::optional<ServeChoice> &serve = {});
    // Serves as `choice` says; `remember` keeps the choice in browser.ini
    // once it serves. A port in use or an address that is not this PC's:
    // a message, and it stays off.
    void switchOn(ServeChoice choice, bool remember);
    void switchOff(bool remember);
    // What a client may take, from the next switching on.
    void setLimits(const Limits &limits) { m_limits = limits; }
    Status status() const { return m_status; }
    const ServeChoice &choice() const { return m_choice; }
    quint16 port() const { return m_port; } // where it serves
    int pages() const { return m_pages; }   // the live pages it serves now
    // What to type into a browser, best first, while it serves (none until
    // this PC's addresses are found, where it serves them all).
    QStringList urls() const;
    // It serves every network of this PC, and this PC has none but loopback.
    bool thisPcOnly() const;
    // This PC's network addresses, best first, loopback left out.
    QStringList addresses() const;
    // Asks this PC's networks anew, in the server's thread (it may take a
    // while); addressesFound() follows.
    void findAddresses();

    // Where the day's results for /results come from: asked while it serves,
    // once after each resultsChanged() (several changes of one action: once).
    void setResultsSource(std::function<competition::ResultsTable()> source) { m_resultsSource = std::move(source); }
    void resultsChanged();

    // Its window: opens it, or brings the open one to the front.
    void showWindow();
    Webbord *window() const;

signals:
    void statusChanged(); // and the number of live pages
    void addressesFound();

private:
    void changed();
    void publish();
    void publishResults();
    void setStatus(Status status);
    void listening(int generation, quint16 port);
    void refused(int generation, int socketError, const QString &reason);
    void tell(const QString &text);
    HttpBoard &server();
    void save();

    const board::PublicBoard &m_model;
    platform::Platform m_platform;
    QWidget *m_console;
    Limits m_limits;
    bool m_publishDue = false;
    bool m_resultsDue = false;
    std::function<competition::ResultsTable()> m_resultsSource;
    ServeChoice m_choice;
    Status m_status = Status::Off;
    quint16 m_port = 0;
    std::optional<std::vector<std::string>> m_ranked; // this PC's addresses, best first, once found
    int m_pages = 0;
    int m_generation = 0; // of the latest start; answers to older ones are dropped
    bool m_remember = false;
    QThread *m_thread = nullptr;
    HttpBoard *m_server = nullptr;
    QPointer<Webbord> m_window;
};

} // namespace browserboard
