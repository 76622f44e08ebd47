// The board's page in a real browser (Debian's chromium, headless), served
// on loopback by a console clicked as the operator clicks it.
#include "browserboard/browserboard.h"
#include "support/chromium.h"
#include "support/console.h"
#include "support/snapshot.h"

#include <QCheckBox>
#include <QPainter>

using browserboard::BrowserBoard;

class BrowserTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;
    std::unique_ptr<testing::Chromium> browser;
    QString url;
    QByteArray renderedWith;

    void serve(quint16 port)
    {
        c->kata->browser().switchOn({true, port, browserboard::Where::ThisPc, {}}, false);
        QTRY_COMPARE(c->kata->browser().status(), BrowserBoard::Status::Serving);
        url = QStringLiteral("http://127.0.0.1:%1/").arg(c->kata->browser().port());
    }
    bool live() { return browser->until(QStringLiteral("document.body && !document.body.classList.contains('offline')")); }
    // Red and blue flags, field number, clock digits, clock shown, mirrored: in the page and on the scoreboard.
    QString inPage()
    {
        return browser->evaluate(QStringLiteral(
            "['red-flags', 'blue-flags', 'field-number', 'minutes', 'tens', 'units'].map(id => "
            "document.getElementById(id).textContent).join(' ') + (clock.hidden ? ' hidden' : ' shown') + "
            "(document.getElementById('red').classList.contains('first') ? ' mirrored' : '')")).toString();
    }
    QString onBoard()
    {
        QStringList texts;
        for (const char *name : {"scr", "scb", "Label1_4", "Label1_7", "Label1_0", "Label1_6"})
            texts << c->boardText(name);
        const QWidget *red = c->board()->findChild<QWidget *>(QStringLiteral("scr"));
        return texts.join(' ') + (c->board()->findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible() ? " shown" : " hidden")
            + (red->x() < c->board()->findChild<QWidget *>(QStringLiteral("scb"))->x() ? " mirrored" : "");
    }

private slots:
    void initTestCase()
    {
        if (testing::Chromium::program().isEmpty())
            QSKIP("no chromium here; tools/install-deps.sh installs it");
        c = std::make_unique<testing::Console>(nullptr, false);
        c->fake.realTime = true; // the clock counts as in the hall
        serve(0);
        browser = std::make_unique<testing::Chromium>();
        QVERIFY(browser->ready());
        renderedWith = browser->call("Browser.getVersion")["product"].toString().toLatin1() + ' ' + testing::renderingFingerprint();
        browser->load(url, {1920, 1080});
        QVERIFY(live());
    }
    void cleanupTestCase()
    {
        browser.reset();
        c.reset();
    }

    // Closed, the scoreboard's twin follows every change; open, the page shows what the scoreboard shows.
    void thePageFollowsTheConsole()
    {
        c->click("Optionr1");
        c->setText("Text5", QStringLiteral("7"));
        c->click("command12");
        QTRY_COMPARE(inPage(), QStringLiteral("1 4 7 1 0 0 hidden"));
        c->click("command1");
        QTRY_COMPARE(inPage(), onBoard());
        c->click("Optionb3");
        c->setText("Text6", QStringLiteral("30"));
        c->click("command6");
        c->click("Command4");
        QTRY_COMPARE(inPage(), onBoard());
        QTRY_COMPARE_WITH_TIMEOUT(inPage(), QStringLiteral("2 3 7 1 2 9 shown"), 3000); // the clock counts
        c->click("Command5");
        QCOMPARE(inPage(), onBoard());
    }

    void pictures_data()
    {
        QTest::addColumn<QSize>("viewport");
        QTest::newRow("browser-16x9") << QSize(1920, 1080);
        QTest::newRow("browser-4x3") << QSize(1024, 768);
        QTest::newRow("browser-phone") << QSize(390, 844);
    }
    void pictures()
    {
        QFETCH(QSize, viewport);
        browser->resize(viewport);
        const QImage shot = browser->screenshot();
        QCOMPARE(shot.size(), viewport); // no scroll bars, nothing beyond
        QVERIFY(browser->evaluate("document.documentElement.scrollHeight <= innerHeight && "
                                  "document.documentElement.scrollWidth <= innerWidth").toBool());
        COMPARE_SNAPSHOT(shot, QLatin1String(QTest::currentDataTag()), renderedWith, QStringLiteral("fingerprint-browser.txt"));
    }

    // Off, the page says so; on again, it shows at once what changed meanwhile.
    void thePageComesBack()
    {
        browser->resize({1920, 1080});
        const quint16 port = c->kata->browser().port();
        c->click("Command2");
        c->kata->browser().switchOff(false);
        QVERIFY(browser->until(QStringLiteral("document.body.classList.contains('offline')")));
        c->click("Optionr5");
        c->get<QCheckBox>("Check11")->setChecked(true);
        serve(port);
        QVERIFY(live());
        QCOMPARE(inPage(), QStringLiteral("5 0 7 1 2 9 shown mirrored")); // the closed scoreboard's field number kept
        c->get<QCheckBox>("Check11")->setChecked(false);
    }

    // The overlay on a transparent page, laid over a video.
    void overlay()
    {
        browser->load(url + "overlay", {1280, 720});
        QVERIFY(live());
        QVERIFY(browser->until(QStringLiteral("document.getElementById('red-flags').textContent == '5'")));
        const QImage shot = browser->screenshot(true);
        QCOMPARE(qAlpha(shot.pixel(shot.width() - 1, shot.height() - 1)), 0);
        QCOMPARE(qAlpha(shot.pixel(20, 20)), 255);
        QImage video(640, 120, QImage::Format_RGB32);
        video.fill(QColor(60, 90, 60));
        QPainter(&video).drawImage(0, 0, shot);
        COMPARE_SNAPSHOT(video, QStringLiteral("browser-overlay"), renderedWith, QStringLiteral("fingerprint-browser.txt"));
    }
};

QTEST_MAIN(BrowserTest)
#include "tst_browser.moc"
