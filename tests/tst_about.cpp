// The About window, opened from the console's menu. What it looks like,
// tst_views compares with its approved picture.
#include "support/console.h"
#include "ui/design.h"
#include "ui/pushbutton.h"
#include "ui/widgets.h"

#include <QApplication>
#include <QIcon>

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
        const auto text = [&](const char *name) { return ui::named<QLabel>(about, name)->text(); };
        QCOMPARE((QStringList{text("Label1"), text("Label2"), text("Label7"), ui::named<ui::PushButton>(about, "Command2")->text()}),
                 (QStringList{"Kovamo Taikan", "Version 1.0.8", "10-08-2017", "Close"}));
        for (const char *name : {"Frame1", "Label3", "Label4", "Label5", "Label6"})
            QVERIFY(ui::named<QWidget>(about, name)->isVisible());
        for (const char *needle : {"Kovamo", "Qt", "LGPL v3", "Liberation", "SIL Open Font License 1.1"})
            QVERIFY2(text("Label8").contains(QLatin1String(needle)), needle);
        // No text is cut off by its box, with the fonts the program runs with.
        for (QLabel *label : about->findChildren<QLabel *>()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                       : metrics.horizontalAdvance(label->text()) <= label->width() && metrics.height() <= label->height(),
                     qPrintable(label->objectName()));
        }
        // The picture is a drawing: at twice its size the red flag flies on the left, the blue one on the right.
        const auto *picture = ui::named<ui::Picture>(about, "Image1");
        QVERIFY(picture->isValid());
        const QImage big = QIcon(picture->source()).pixmap(QSize(256, 256)).toImage();
        QCOMPARE(big.size(), QSize(256, 256));
        QVERIFY(big.pixelColor(64, 85).red() > 150 && big.pixelColor(64, 85).blue() < 80);
        QVERIFY(big.pixelColor(192, 85).blue() > 150 && big.pixelColor(192, 85).red() < 80);

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
    void aboutKeepsTheProgramAlive_data()
    {
        QTest::addColumn<QString>("close");
        QTest::newRow("button") << "command14";
        QTest::newRow("menu entry") << "cl";
    }
    void aboutKeepsTheProgramAlive()
    {
        QFETCH(QString, close);
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
                c->click(qPrintable(close));
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
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
