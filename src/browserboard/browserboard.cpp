#include "browserboard/browserboard.h"

#include "browserboard/httpboard.h"
#include "browserboard/webbord.h"
#include "settings/settingsio.h"

#include <QStyle>
#include <QTcpSocket>
#include <QThread>
#include <algorithm>
#include <functional>

namespace browserboard {

namespace {

const QString kFileName = QStringLiteral("browser.ini");

QHostAddress addressOf(const ServeChoice &choice)
{
    switch (choice.where) {
    case Where::Everywhere:
        return QHostAddress(QHostAddress::Any);
    case Where::ThisPc:
        return QHostAddress(QHostAddress::LocalHost);
    case Where::Address:
        break;
    }
    return QHostAddress(QString::fromStdString(choice.address));
}

} // namespace

BrowserBoard::BrowserBoard(const board::PublicBoard &model, const platform::Platform &platform, QWidget *console)
    : QObject(console), m_model(model), m_platform(platform), m_console(console)
{
    connect(&m_model, &board::PublicBoard::changed, this, &BrowserBoard::changed);
}

BrowserBoard::~BrowserBoard()
{
    delete m_window.data();
    if (m_thread) {
        // The server goes with its thread, closing every connection.
        m_thread->quit();
        m_thread->wait();
    }
}

void BrowserBoard::changed()
{
    // The writes of one action (a tick writes three digits) reach the pages
    // together, once the action is done: never a half-written clock.
    if (m_publishDue)
        return;
    m_publishDue = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
        m_publishDue = false;
        publish();
        },
        Qt::QueuedConnection);
}

void BrowserBoard::publish()
{
    if (m_status == Status::Off)
        return;
    QMetaObject::invokeMethod(
        m_server, [server = m_server, state = m_model.state()] { server->publish(state); }, Qt::QueuedConnection);
}

void BrowserBoard::resultsChanged()
{
    if (m_resultsDue || m_status == Status::Off)
        return;
    m_resultsDue = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
        m_resultsDue = false;
        publishResults();
        },
        Qt::QueuedConnection);
}

void BrowserBoard::publishResults()
{
    if (m_status == Status::Off || !m_resultsSource)
        return;
    auto results = std::make_shared<const competition::ResultsTable>(m_resultsSource());
    QMetaObject::invokeMethod(
        m_server, [server = m_server, results = std::move(results)] { server->publishResults(results); },
        Qt::QueuedConnection);
}

void BrowserBoard::restore(const std::optional<ServeChoice> &serve)
{
    if (serve) {
        switchOn(*serve, false);
        return;
    }
    const auto bytes = settings::readSettingsFile(settings::settingsPaths(m_platform.settings, kFileName).read,
                                                  qint64(kServeFileLimit));
    m_choice = bytes ? readServeFile(std::string_view(bytes->constData(), std::size_t(bytes->size()))) : ServeChoice{};
    if (m_choice.on)
        switchOn(m_choice, false);
}

void BrowserBoard::switchOn(ServeChoice choice, bool remember)
{
    choice.on = true;
    m_choice = choice;
    m_remember = remember;
    const int generation = ++m_generation;
    const QHostAddress address = addressOf(choice);
    if (address.isNull()) {
        refused(generation, QAbstractSocket::SocketAddressNotAvailableError, {});
        return;
    }
    HttpBoard &board = server();
    QMetaObject::invokeMethod(
        &board,
        [&board, address, port = quint16(choice.port), limits = m_limits, generation] {
        board.start(address, port, limits, generation);
        },
        Qt::QueuedConnection);
    setStatus(Status::Starting);
    publish(); // what every page shows from its first moment
    publishResults();
}

void BrowserBoard::switchOff(bool remember)
{
    ++m_generation;
    m_choice.on = false;
    m_port = 0;
    if (m_server)
        QMetaObject::invokeMethod(m_server, &HttpBoard::stop, Qt::QueuedConnection);
    setStatus(Status::Off);
    if (remember)
        save();
}

void BrowserBoard::listening(int generation, quint16 port)
{
    if (generation != m_generation)
        return;
    m_port = port;
    if (m_choice.where == Where::Everywhere)
        findAddresses();
    setStatus(Status::Serving);
    if (m_remember)
        save();
}

void BrowserBoard::refused(int generation, int socketError, const QString &reason)
{
    if (generation != m_generation)
        return;
    m_choice.on = false;
    if (m_server) // still serving an earlier choice
        QMetaObject::invokeMethod(m_server, &HttpBoard::stop, Qt::QueuedConnection);
    setStatus(Status::Off);
    const QString port = QString::number(m_choice.port);
    const QString address =
        m_choice.where == Where::Address ? QString::fromStdString(m_choice.address) : addressOf(m_choice).toString();
    QString why;
    switch (QAbstractSocket::SocketError(socketError)) {
    case QAbstractSocket::AddressInUseError:
        why = QStringLiteral("port %1 is in use by another program").arg(port);
        break;
    case QAbstractSocket::SocketAddressNotAvailableError:
        why = QStringLiteral("%1 is not a network address of this PC (port %2)").arg(address, port);
        break;
    case QAbstractSocket::SocketAccessError:
        why = QStringLiteral("port %1 is for administrators only on this PC; choose one above 1023").arg(port);
        break;
    default:
        why = QStringLiteral("port %1: %2").arg(port, reason);
    }
    tell(QStringLiteral("The browser scoreboard could not start: %1.\n\nThe match goes on without it. Choose "
                        "another port or address under \"Browser scoreboard...\" in the menu.")
             .arg(why));
}

void BrowserBoard::tell(const QString &text)
{
    m_platform.messages->show(m_window ? static_cast<QWidget *>(m_window) : m_console, platform::MessageIcon::Warning,
                              text);
}

void BrowserBoard::setStatus(Status status)
{
    m_status = status;
    emit statusChanged();
}

HttpBoard &BrowserBoard::server()
{
    if (!m_server) {
        m_thread = new QThread(this);
        m_thread->setObjectName(QStringLiteral("browserboard"));
        m_server = new HttpBoard;
        m_server->moveToThread(m_thread);
        connect(m_thread, &QThread::finished, m_server, &QObject::deleteLater);
        connect(m_server, &HttpBoard::listening, this, &BrowserBoard::listening);
        connect(m_server, &HttpBoard::refused, this, &BrowserBoard::refused);
        connect(m_server, &HttpBoard::pagesChanged, this, [this](int pages) {
            m_pages = pages;
            emit statusChanged();
        });
        m_thread->start();
    }
    return *m_server;
}

void BrowserBoard::save()
{
    // Written in the server's thread: a slow disk never holds up the console.
    const QByteArray bytes = QByteArray::fromStdString(writeServeFile(m_choice));
    QMetaObject::invokeMethod(
        &server(),
        [this, folders = m_platform.settings, bytes] {
        const QString path = settings::settingsPaths(folders, kFileName).write;
        if (!settings::saveSettingsFile(path, bytes))
            QMetaObject::invokeMethod(
                this,
                [this, path] {
                tell(QStringLiteral("The browser scoreboard's choice could not be saved in %1.").arg(path));
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void BrowserBoard::findAddresses()
{
    const auto found = [this](const std::vector<std::string> &ranked) {
        m_ranked = ranked;
        emit addressesFound();
    };
    if (!m_platform.network)
        return found({});
    QMetaObject::invokeMethod(
        &server(),
        [this, found, network = m_platform.network] {
        std::vector<LocalAddress> addresses;
        for (const platform::NetworkAddress &address : network->addresses())
            addresses.push_back({address.ip.toStdString(), address.adapter});
        QMetaObject::invokeMethod(this, std::bind(found, rankAddresses(addresses)), Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

QStringList BrowserBoard::urls() const
{
    QStringList urls;
    if (m_status == Status::Serving && (m_ranked || m_choice.where != Where::Everywhere))
        for (const std::string &url : boardUrls(m_choice, m_port, m_ranked.value_or(std::vector<std::string>())))
            urls << QString::fromStdString(url);
    return urls;
}

bool BrowserBoard::thisPcOnly() const
{
    return m_status == Status::Serving && m_choice.where == Where::Everywhere && m_ranked
        && std::all_of(m_ranked->begin(), m_ranked->end(), [](const std::string &ip) { return isLoopback(ip); });
}

QStringList BrowserBoard::addresses() const
{
    QStringList addresses;
    for (const std::string &ip : m_ranked.value_or(std::vector<std::string>()))
        if (!isLoopback(ip))
            addresses << QString::fromStdString(ip);
    return addresses;
}

Webbord *BrowserBoard::window() const { return m_window; }

void BrowserBoard::showWindow()
{
    if (!m_window) {
        m_window = new Webbord(*this, m_console);
        m_window->move(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, m_window->size(), m_console->window()->geometry())
                .topLeft());
    }
    findAddresses(); // the networks may have changed since
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace browserboard
