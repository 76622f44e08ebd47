#pragma once

// Debian's chromium, headless, driven over its DevTools protocol.
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>

namespace testing {

class Chromium {
public:
    static QString program() { return QStandardPaths::findExecutable(QStringLiteral("chromium")); }
    // Starts it with a blank page; ready() once the page answers.
    Chromium()
    {
        QObject::connect(&m_socket, &QWebSocket::textMessageReceived, [this](const QString &text) {
            const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
            m_answers.insert(message["id"].toInt(), message["result"].toObject());
        });
        m_process.start(program(),
                        {"--headless=new", "--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--no-first-run", "--hide-scrollbars", "--remote-debugging-port=0", "--user-data-dir=" + m_profile.path()});
        QByteArray said; // "DevTools listening on ws://..."
        if (QTest::qWaitFor([&] { return (said += m_process.readAllStandardError()).contains("ws://") && said.endsWith('\n'); }, 30000))
            m_socket.open(QUrl(QString::fromLatin1(said.mid(said.indexOf("ws://")).split('\n').first())));
        if (!QTest::qWaitFor([this] { return m_socket.state() == QAbstractSocket::ConnectedState; }, 10000))
            return;
        version = call("Browser.getVersion")["product"].toString().toLatin1();
        const QJsonValue page = call("Target.createTarget", {{"url", "about:blank"}})["targetId"];
        m_session = call("Target.attachToTarget", {{"targetId", page}, {"flatten", true}})["sessionId"].toString();
    }
    ~Chromium()
    {
        m_socket.sendTextMessage(QStringLiteral("{\"id\":0,\"method\":\"Browser.close\"}")); // with its helpers
        m_socket.flush();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }
    bool ready() const { return !m_session.isEmpty(); }
    QByteArray version; // "Chrome/156.0.8078.129"

    // A DevTools method's result, asked of the page.
    QJsonObject call(const QString &method, const QJsonObject &params = {})
    {
        QJsonObject message{{"id", ++m_id}, {"method", method}, {"params", params}};
        if (!m_session.isEmpty())
            message["sessionId"] = m_session;
        m_socket.sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
        if (!QTest::qWaitFor([&] { return m_answers.contains(m_id); }, 20000))
            QTest::qFail(qPrintable("chromium gave no answer to " + method + " within 20 s"), __FILE__, __LINE__);
        return m_answers.take(m_id);
    }
    // The viewport's size, the page laid out anew; with `url`, that page loaded.
    void resize(QSize size, const QString &url = {})
    {
        call("Emulation.setDeviceMetricsOverride", {{"width", size.width()}, {"height", size.height()}, {"deviceScaleFactor", 1}, {"mobile", false}});
        if (!url.isEmpty())
            call("Page.navigate", {{"url", url}});
        evaluate(QStringLiteral("new Promise(done => requestAnimationFrame(() => requestAnimationFrame(done)))"));
    }
    QJsonValue evaluate(const QString &script)
    {
        return call("Runtime.evaluate", {{"expression", script}, {"returnByValue", true}, {"awaitPromise", true}})["result"].toObject()["value"];
    }
    bool until(const QString &script, int ms = 10000)
    {
        return QTest::qWaitFor([&] { return evaluate(script).toBool(); }, ms);
    }
    // `transparent`: on no background of the browser's own.
    QImage screenshot(bool transparent = false)
    {
        if (transparent)
            call("Emulation.setDefaultBackgroundColorOverride", {{"color", QJsonObject{{"r", 0}, {"g", 0}, {"b", 0}, {"a", 0}}}});
        return QImage::fromData(QByteArray::fromBase64(call("Page.captureScreenshot")["data"].toString().toLatin1()));
    }

private:
    QTemporaryDir m_profile;
    QProcess m_process;
    QWebSocket m_socket;
    QHash<int, QJsonObject> m_answers;
    QString m_session;
    int m_id = 0;
};

} // namespace testing
