// The About window, opened from the console's menu.
#include "about/about.h"
#include "console/console.h"
#include "support/fakeplatform.h"
#include "ui/pushbutton.h"
#include "ui/twips.h"
#include "ui/widgets.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
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
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    static void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    static void deleteClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    // Place of a control relative to Frame1, in twips as the design gives them.
    static QRect place(int left, int top, int width, int height) { return ui::pxRect(left, top, width, height); }

    static void expectContent(QWidget *about)
    {
        QCOMPARE(in<QLabel>(about, "Label1")->text(), QStringLiteral("Kovamo Taikan"));
        QCOMPARE(in<QLabel>(about, "Label2")->text(), QStringLiteral("Version 1.0.8"));
        QCOMPARE(in<QLabel>(about, "Label7")->text(), QStringLiteral("10-08-2017"));
        QCOMPARE(in<ui::PushButton>(about, "Command2")->text(), QStringLiteral("Close"));
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

    void windowAsDesigned()
    {
        chooseAbout();
        QWidget *about = theAbout();
        QVERIFY(about->isWindow() && about->isVisible());
        QCOMPARE(about->windowTitle(), QString());
        QCOMPARE(about->size(), QSize(ui::px(7200), ui::px(6720)));
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QVERIFY(about->autoFillBackground());
        QCOMPARE(about->palette().color(QPalette::Window), QColor(Qt::white));

        auto *frame = in<ui::Frame>(about, "Frame1");
        QCOMPARE(frame->parentWidget(), about);
        QCOMPARE(frame->geometry(), place(120, 0, 6975, 6615));
        QCOMPARE(frame->text(), QString());
        const struct {
            const char *name;
            QRect place;
        } places[] = {
            {"Label1", place(2880, 240, 1230, 210)},   {"Label2", place(2955, 480, 1065, 210)},
            {"Label7", place(3045, 720, 840, 210)},    {"Image1", place(2640, 2160, 1800, 1800)},
            {"Command2", place(3000, 6120, 975, 375)},
        };
        for (const auto &p : places) {
            QCOMPARE(in(about, p.name)->parentWidget(), frame);
            QCOMPARE(in(about, p.name)->geometry(), p.place);
        }
        expectContent(about);
        QCOMPARE(in<ui::Picture>(about, "Image1")->source(), QStringLiteral(":/icons/taikan.svg"));
    }

    void headingsCloseButtonAndSmallPrint()
    {
        chooseAbout();
        QWidget *about = theAbout();
        for (const char *name : {"Label1", "Label2", "Label7"}) {
            auto *label = in<QLabel>(about, name);
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 192));
            QCOMPARE(label->palette().color(QPalette::Window), QColor(Qt::white));
            QCOMPARE(label->font().family(), QStringLiteral("Arial"));
            QCOMPARE(label->font().pointSizeF(), 8.25);
            QVERIFY(label->font().bold());
            // Arial is found: the metric twin Liberation Sans stands in.
            QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));
        }
        auto *close = in<ui::PushButton>(about, "Command2");
        QCOMPARE(close->face(), QColor(0xD5, 0xD7, 0xE1));
        QCOMPARE(close->font().pointSizeF(), 8.25);
        QVERIFY(close->font().bold());
        QCOMPARE(close->text(), QStringLiteral("Close"));

        // Four short centred lines between the date and the picture, then the small print.
        for (const char *name : {"Label3", "Label4", "Label5", "Label6"}) {
            auto *line = in<QLabel>(about, name);
            QVERIFY(!line->text().isEmpty() && line->text().size() <= 40);
            QVERIFY(line->alignment() & Qt::AlignHCenter);
            QVERIFY(line->y() >= ui::px(1080) && line->geometry().bottom() < ui::px(2010));
        }
        auto *small = in<QLabel>(about, "Label8");
        QCOMPARE(small->geometry(), place(240, 4200, 6495, 1815));
        QCOMPARE(small->font().pointSizeF(), 6.75);
        QVERIFY(small->wordWrap());
        for (const char *needle : {"Kovamo", "Qt", "LGPL v3", "Liberation", "SIL Open Font License 1.1"})
            QVERIFY2(small->text().contains(QLatin1String(needle)), needle);
    }

    // No text is cut off by its box, with the fonts the program runs with.
    void everyTextFitsItsBox()
    {
        chooseAbout();
        QWidget *about = theAbout();
        for (QLabel *label : about->findChildren<QLabel *>()) {
            const QFontMetrics metrics(label->font());
            const QString what = label->objectName() + QLatin1Char(' ') + label->text().left(20);
            if (label->wordWrap()) {
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(), qPrintable(what));
                continue;
            }
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(), qPrintable(what));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(what));
        }
        auto *close = in<ui::PushButton>(about, "Command2");
        QVERIFY(QFontMetrics(close->font()).horizontalAdvance(close->text()) < close->width());
    }

    void pictureIsOursAndSharp()
    {
        chooseAbout();
        auto *picture = in<ui::Picture>(theAbout(), "Image1");
        QCOMPARE(picture->width(), picture->height());
        // Drawn at twice the size it stays a drawing: the red flag flies on
        // the left, the blue one on the right.
        const QImage big = QIcon(QStringLiteral(":/icons/taikan.svg")).pixmap(QSize(256, 256)).toImage();
        QCOMPARE(big.size(), QSize(256, 256));
        QVERIFY(big.pixelColor(64, 85).red() > 150 && big.pixelColor(64, 85).blue() < 80);
        QVERIFY(big.pixelColor(192, 85).blue() > 150 && big.pixelColor(192, 85).red() < 80);
    }

    void opensCentredWithoutBlockingTheConsole()
    {
        chooseAbout();
        QWidget *about = theAbout();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        QVERIFY(!about->isModal());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(about->screen(), m_kata->screen());
        const QPoint offset = about->frameGeometry().center() - m_kata->screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

        // The console goes on working beside it.
        auto *red2 = m_kata->findChild<QRadioButton *>(QStringLiteral("Optionr2"));
        click(red2);
        QVERIFY(red2->isChecked());
        QVERIFY(m_kata->findChild<QRadioButton *>(QStringLiteral("Optionb3"))->isChecked());
        QVERIFY(about->isVisible());
    }

    void chosenAgainItComesToTheFront()
    {
        chooseAbout();
        QPointer<QWidget> first = theAbout();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        first->move(first->pos() + QPoint(30, 20));
        const QPoint moved = first->pos();
        first->showMinimized();
        QVERIFY(first->isMinimized());
        m_kata->activateWindow();

        chooseAbout();
        QCOMPARE(theAbout(), first.data());
        QVERIFY(first->isVisible());
        QVERIFY(!first->isMinimized());
        QCOMPARE(first->pos(), moved); // where the operator put it
        QTRY_COMPARE(QApplication::activeWindow(), first.data());

        chooseAbout();
        QCOMPARE(aboutWindows().size(), 1);
    }

    void closeDestroysItAndAboutOpensItAnew()
    {
        chooseAbout();
        QPointer<QWidget> first = theAbout();
        click(in(first, "Command2"));
        deleteClosed();
        QVERIFY(first.isNull());
        QVERIFY(aboutWindows().isEmpty());
        QVERIFY(m_kata->isVisible());

        chooseAbout();
        QWidget *again = theAbout();
        QVERIFY(again->isVisible());
        expectContent(again);

        // Closed by the window system, it goes too.
        QPointer<QWidget> second = again;
        second->close();
        deleteClosed();
        QVERIFY(second.isNull());
    }

    // The console's Close, by button or menu, closes the console only.
    void consoleCloseLeavesAboutOpen_data()
    {
        QTest::addColumn<bool>("menu");
        QTest::newRow("button command14") << false;
        QTest::newRow("menu entry cl") << true;
    }
    void consoleCloseLeavesAboutOpen()
    {
        QFETCH(bool, menu);
        chooseAbout();
        QWidget *about = theAbout();
        if (menu)
            m_kata->findChild<QAction *>(QStringLiteral("cl"))->trigger();
        else
            click(m_kata->findChild<QWidget *>(QStringLiteral("command14")));
        QVERIFY(!m_kata->isVisible());
        deleteClosed();
        QCOMPARE(theAbout(), about);
        QVERIFY(about->isVisible());
    }

    // An About window left open keeps the program running until it is
    // closed; closing the About window alone ends nothing.
    void aboutKeepsTheProgramAlive()
    {
        QVERIFY(QApplication::quitOnLastWindowClosed());
        QStringList steps;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        connect(&watchdog, &QTimer::timeout, qApp, [&] {
            steps << QStringLiteral("watchdog");
            QCoreApplication::exit(3);
        });
        watchdog.start(10000);

        QTimer::singleShot(0, this, [&] {
            chooseAbout();
            click(in(theAbout(), "Command2")); // the console stays: no quitting
            QTimer::singleShot(50, this, [&] {
                steps << QStringLiteral("About closed");
                chooseAbout();
                click(m_kata->findChild<QWidget *>(QStringLiteral("command14")));
                QTimer::singleShot(50, this, [&] {
                    steps << QStringLiteral("console closed");
                    click(in(theAbout(), "Command2")); // the last window: the program ends
                    steps << QStringLiteral("last closed");
                });
            });
        });
        const int code = QApplication::exec();
        QCOMPARE(steps, (QStringList{"About closed", "console closed", "last closed"}));
        QCOMPARE(code, 0);
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
