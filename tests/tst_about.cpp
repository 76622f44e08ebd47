// The About window, opened from the console's menu. What it looks like,
// tst_views compares with its approved picture.
#include "about/about.h"
#include "console/console.h"
#include "support/fakeplatform.h"
#include "ui/pushbutton.h"
#include "ui/widgets.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QtTest>
#include <memory>

class AboutTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::FakePlatform> m_fake;
    std::unique_ptr<console::Kata> m_kata;

    void chooseAbout() { m_kata->findChild<QAction *>(QStringLiteral("over"))->trigger(); }
    static QList<QWidget *> aboutWindows()
    {
        QList<QWidget *> found;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("Overfrm"))
                found.append(widget);
        return found;
    }
    // The one About window; fails the test when there is not exactly one.
    static QWidget *theAbout()
    {
        const QList<QWidget *> windows = aboutWindows();
        if (windows.size() != 1)
            qFatal("%d About windows", int(windows.size()));
        return windows.first();
    }
    template <typename T = QWidget>
    static T *in(QWidget *window, const char *name)
    {
        if (T *widget = window->findChild<T *>(QLatin1String(name)))
            return widget;
        qFatal("no control %s", name);
    }
    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static void expectContent(QWidget *about)
    {
        QVERIFY(about->isWindow() && about->isVisible());
        QCOMPARE((QStringList{in<QLabel>(about, "Label1")->text(), in<QLabel>(about, "Label2")->text(),
                              in<QLabel>(about, "Label7")->text(), in<ui::PushButton>(about, "Command2")->text()}),
                 (QStringList{"Kovamo Taikan", "Version 1.0.8", "10-08-2017", "Close"}));
        QVERIFY(in<ui::Picture>(about, "Image1")->isValid());
    }

private slots:
    void init()
    {
        m_fake = std::make_unique<testing::FakePlatform>();
        m_kata = std::make_unique<console::Kata>(m_fake->platform());
        m_kata->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_kata.get()));
    }
    void cleanup()
    {
        m_kata.reset();
        deleteClosed();
        QVERIFY(aboutWindows().isEmpty()); // the console takes an open About window with it
        m_fake.reset();
    }

    void content()
    {
        chooseAbout();
        QWidget *about = theAbout();
        expectContent(about);
        QCOMPARE(about->windowTitle(), QString());
        QCOMPARE(about->minimumSize(), about->maximumSize());
        for (const char *name : {"Frame1", "Label3", "Label4", "Label5", "Label6"})
            QVERIFY(in(about, name)->isVisible());
        const QString small = in<QLabel>(about, "Label8")->text();
        for (const char *needle : {"Kovamo", "Qt", "LGPL v3", "Liberation", "SIL Open Font License 1.1"})
            QVERIFY2(small.contains(QLatin1String(needle)), needle);
        // No text is cut off by its box, with the fonts the program runs with.
        for (QLabel *label : about->findChildren<QLabel *>()) {
            const QFontMetrics metrics(label->font());
            QVERIFY2(label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                       : metrics.horizontalAdvance(label->text()) <= label->width()
                                             && metrics.height() <= label->height(),
                     qPrintable(label->objectName()));
        }
        // The picture is a drawing: at twice its size the red flag flies on the left, the blue one on the right.
        const QImage big = QIcon(in<ui::Picture>(about, "Image1")->source()).pixmap(QSize(256, 256)).toImage();
        QCOMPARE(big.size(), QSize(256, 256));
        QVERIFY(big.pixelColor(64, 85).red() > 150 && big.pixelColor(64, 85).blue() < 80);
        QVERIFY(big.pixelColor(192, 85).blue() > 150 && big.pixelColor(192, 85).red() < 80);
    }

    void lifecycle()
    {
        chooseAbout();
        QPointer<QWidget> first = theAbout();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QVERIFY(!first->isModal() && !QApplication::activeModalWidget()); // the console goes on working beside it
        // Chosen again, it comes to the front, where the operator put it, even when minimised.
        first->move(first->pos() + QPoint(30, 20));
        const QPoint moved = first->pos();
        first->showMinimized();
        QVERIFY(first->isMinimized());
        m_kata->activateWindow();
        chooseAbout();
        QCOMPARE(theAbout(), first.data());
        QVERIFY(first->isVisible() && !first->isMinimized());
        QCOMPARE(first->pos(), moved);
        QTRY_COMPARE(QApplication::activeWindow(), first.data());
        // Closed, it is destroyed; chosen again, it opens anew.
        click(in(first, "Command2"));
        deleteClosed();
        QVERIFY(first.isNull() && aboutWindows().isEmpty());
        QVERIFY(m_kata->isVisible());
        chooseAbout();
        QPointer<QWidget> again = theAbout();
        expectContent(again);
        again->close(); // by the window system: it goes too
        deleteClosed();
        QVERIFY(again.isNull());
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
        QTimer watchdog;
        connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(3); });
        watchdog.start(10000);
        QTimer::singleShot(0, this, [&] {
            chooseAbout();
            click(in(theAbout(), "Command2")); // the console stays: no quitting
            QTimer::singleShot(50, this, [&] {
                steps << QStringLiteral("About closed");
                chooseAbout();
                if (auto *entry = m_kata->findChild<QAction *>(close))
                    entry->trigger();
                else
                    click(m_kata->findChild<QWidget *>(close));
                QTimer::singleShot(50, this, [&] {
                    steps << QStringLiteral("console closed");
                    click(in(theAbout(), "Command2")); // the last window: the program ends
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
