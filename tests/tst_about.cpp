// The About window, opened from the console's menu. What it looks like,
// tst_views compares with its approved picture.
#include "support/console.h"
#include "ui/design.h"

#include <QApplication>

class AboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;

    void chooseAbout() { c->click("over"); }
    static QList<QWidget *> aboutWindows() { return testing::windowsNamed("Overfrm"); }
    // The one About window; fails the test when there is not exactly one.
    static QWidget *theAbout()
    {
        const QList<QWidget *> windows = aboutWindows();
        if (windows.size() != 1)
            qFatal("%d About windows", int(windows.size()));
        return windows.first();
    }
    static void closeAbout(QWidget *about) { QTest::mouseClick(ui::named<QWidget>(about, "Command2"), Qt::LeftButton); }
    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // Runs `step` in the event loop once `ready` holds, asked again at each pass; a quit that the last step
    // asked for comes first.
    void when(const std::function<bool()> &ready, const std::function<void()> &step)
    {
        QTimer::singleShot(0, this, [=, this] { ready() ? step() : when(ready, step); });
    }

private slots:
    void init() { c = std::make_unique<testing::Console>(nullptr, false); }
    void cleanup()
    {
        c.reset();
        deleteClosed();
        QVERIFY(aboutWindows().isEmpty()); // the console takes an open About window with it
    }

    void contentAndLifecycle()
    {
        chooseAbout();
        QPointer<QWidget> about = theAbout();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QVERIFY(!about->isModal() && !QApplication::activeModalWidget()); // the console goes on working beside it
        QCOMPARE(about->windowTitle(), QString());
        QCOMPARE(about->minimumSize(), about->maximumSize());
        // Its texts, picture and layout: tst_views compares them with the approved picture.
        QCOMPARE(ui::named<QLabel>(about, "Label2")->text(), QStringLiteral("Version 1.0.8")); // the version, made by the build

        // Chosen again, it comes to the front, where the operator put it, even when minimised.
        about->move(about->pos() + QPoint(30, 20));
        const QPoint moved = about->pos();
        about->showMinimized();
        QVERIFY(about->isMinimized());
        c->kata->activateWindow();
        chooseAbout();
        QCOMPARE(theAbout(), about.data());
        QVERIFY(about->isVisible() && !about->isMinimized());
        QCOMPARE(about->pos(), moved);
        QTRY_COMPARE(QApplication::activeWindow(), about.data());
        // Closed, it is destroyed; chosen again, it opens anew, and is left open for the console to take along.
        closeAbout(about);
        deleteClosed();
        QVERIFY(about.isNull() && aboutWindows().isEmpty() && c->kata->isVisible());
        chooseAbout();
        QVERIFY(theAbout()->isVisible());
    }

    // An About window left open keeps the program running until it is closed; the console's
    // Close, by button or menu, closes the console only; closing About alone ends nothing.
    void aboutKeepsTheProgramAlive()
    {
        for (const char *close : {"command14", "cl"}) { // the button, the menu entry
            const auto row = testing::naming(close);
            c = std::make_unique<testing::Console>(nullptr, false);
            QVERIFY(QApplication::quitOnLastWindowClosed());
            QStringList steps;
            QObject watchdog; // its timer goes with it
            QTimer::singleShot(10000, &watchdog, [] { QCoreApplication::exit(3); });
            const auto always = [] { return true; };
            when(always, [&] {
                chooseAbout();
                closeAbout(theAbout());                             // the console stays: no quitting
                when([] { return aboutWindows().isEmpty(); }, [&] { // the closed one destroyed
                    steps << QStringLiteral("About closed");
                    chooseAbout();
                    c->click(close);
                    when([&] { return !c->kata->isVisible(); },
                         [&] {
                        steps << QStringLiteral("console closed");
                        closeAbout(theAbout()); // the last window: the program ends
                        steps << QStringLiteral("last closed");
                    });
                });
            });
            QCOMPARE(QApplication::exec(), 0); // 3: the watchdog ended it
            QCOMPARE(steps, (QStringList{"About closed", "console closed", "last closed"}));
        }
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
