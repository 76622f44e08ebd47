#pragma once

// Debian's chromium, headless, driven over its DevTools protocol: it loads a
// page, evaluates script in it, sizes its viewport and takes screenshots.
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>

namespace testing {

class Chromium {
public:
    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("chromium")); }

    // Starts it on a blank page; ready() tells whether it came up.
    Chromium()
    {
        m_process.start(program(), {"--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking",
                                    "--disable-component-update", "--disable-sync", "--no-first-run", "--hide-scrollbars",
                                    "--remote-debugging-port=0", "--user-data-dir=" + m_profile.path(), "about:blank"});
        // The browser writes its port into the profile once it listens.
        QFile active(m_profile.filePath(QStringLiteral("DevToolsActivePort")));
        if (!QTest::qWaitFor([&] { return active.open(QIODevice::ReadOnly) && active.size() > 0; }, 30000))
            return;
        const QByteArray port = active.readLine().trimmed();
        QNetworkAccessManager network;
        QNetworkReply *list = network.get(QNetworkRequest(QUrl("http://127.0.0.1:" + port + "/json/list")));
        (void)QTest::qWaitFor([&] { return list->isFinished(); }, 10000);
        for (const QJsonValue target : QJsonDocument::fromJson(list->readAll()).array())
            if (target[QLatin1String("type")] == QLatin1String("page"))
                m_socket.open(QUrl(target[QLatin1String("webSocketDebuggerUrl")].toString()));
        delete list;
        QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString &message) {
            const QJsonObject answer = QJsonDocument::fromJson(message.toUtf8()).object();
            if (answer.contains(QLatin1String("id")))
                m_answers.insert(answer[QLatin1String("id")].toInt(), answer);
        });
        (void)QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 10000);
    }
    ~Chromium()
    {
        if (ready()) { // a browser that closes itself takes its helpers along
            m_socket.sendTextMessage(QStringLiteral("{\"id\":0,\"method\":\"Browser.close\"}"));
            m_socket.flush();
        }
        if (!m_process.waitForFinished(10000))
            m_process.kill();
        m_process.waitForFinished();
    }
    bool ready() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

    // A DevTools method's result.
    QJsonObject call(const QString &method, const QJsonObject &params = {})
    {
        const int id = ++m_id;
        m_socket.sendTextMessage(QString::fromUtf8(
            QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}}).toJson(QJsonDocument::Compact)));
        (void)QTest::qWaitFor([&] { return m_answers.contains(id); }, 20000);
        return m_answers.take(id)[QLatin1String("result")].toObject();
    }
    // The viewport's size; the page laid out anew.
    void resize(QSize viewport)
    {
        call("Emulation.setDeviceMetricsOverride",
             {{"width", viewport.width()}, {"height", viewport.height()}, {"deviceScaleFactor", 1}, {"mobile", false}});
        evaluate(QStringLiteral("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)))"));
    }
    void load(const QString &url, QSize viewport)
    {
        resize(viewport);
        call("Page.navigate", {{"url", url}});
    }
    // The value of a script expression in the page.
    QJsonValue evaluate(const QString &expression)
    {
        return call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}})
            [QLatin1String("result")].toObject()[QLatin1String("value")];
    }
    // Whether the expression comes true within `ms`.
    bool until(const QString &expression, int ms = 10000)
    {
        return QTest::qWaitFor([&] { return evaluate(expression).toBool(); }, ms);
    }
    // The viewport as it is painted; `transparent`: on no background of the browser's own.
    QImage screenshot(bool transparent = false)
    {
        if (transparent)
            call("Emulation.setDefaultBackgroundColorOverride", {{"color", QJsonObject{{"r", 0}, {"g", 0}, {"b", 0}, {"a", 0}}}});
        return QImage::fromData(
            QByteArray::fromBase64(call("Page.captureScreenshot", {{"format", "png"}})[QLatin1String("data")].toString().toLatin1()));
    }

private:
    QTemporaryDir m_profile;
    QProcess m_process;
    QWebSocket m_socket;
    QHash<int, QJsonObject> m_answers;
    int m_id = 0;
};

} // namespace testing
