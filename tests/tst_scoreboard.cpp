// The external scoreboard driven from the console: its single instance,
// publishing, the field number, opening, closing and readable texts.
#include "support/console.h"

#include <QAccessible>
#include <QRadioButton>
#include <QTimer>

using scoreboard::Kabord;

class ScoreboardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;

    QWidget *onBoard(const char *name) const { return c->board()->findChild<QWidget *>(QLatin1String(name)); }
    // Scoreboard windows that the window system still holds.
    static int boardWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return int(testing::windowsNamed("Kabord").size());
    }
    void open()
    {
        c->click("command1");
        QVERIFY(c->board() && c->board()->isVisible());
    }

private slots:
    void init() { c = std::make_unique<testing::Console>(); }
    void cleanup()
    {
        c.reset();
        QCOMPARE(boardWindows(), 0);
    }

    // Writes while it is closed make no window; only opening shows one, always anew.
    void onlyOpeningShowsAWindow()
    {
        c->click("Optionr2");
        c->setText("Text5", QStringLiteral("12"));
        c->click("command12");
        QVERIFY(!c->board());
        QCOMPARE(boardWindows(), 0);

        open();
        const QPointer<Kabord> first = c->board(); // a new one may take the old one's address
        QCOMPARE(boardWindows(), 1);
        QCOMPARE(first->geometry(), c->kata->screen()->geometry()); // a single display: the main one
        const QRect countPlace = onBoard("scb")->geometry();
        const QRect boxPlace = onBoard("Shape5_1")->geometry();

        // Opening again builds it anew from the design: never scaled twice.
        c->click("Optionb1");
        c->click("startext");
        QVERIFY(!first);
        QCOMPARE(boardWindows(), 1);
        QCOMPARE(c->boardText("scb"), QStringLiteral("0"));
        QCOMPARE(onBoard("scb")->geometry(), countPlace);
        QCOMPARE(onBoard("Shape5_1")->geometry(), boxPlace);
        for (const char *digit : {"Label1_0", "Label1_5", "Label1_6", "Label1_7"})
            QCOMPARE(onBoard(digit)->parentWidget(), onBoard("Frame1"));
        for (const char *name : {"Shape5_3", "Frame1", "Label1_7"}) // the clock waits for Start
            QVERIFY(!onBoard(name)->isVisible());
        // It does not take the keyboard from the console.
        QCOMPARE(c->board()->focusPolicy(), Qt::NoFocus);
        QVERIFY(c->board()->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(c->board()->windowTitle(), QStringLiteral("Form2"));
    }

    // The field number grows about the middle of its box.
    void fieldNumber()
    {
        c->setText("Text5", QStringLiteral("3"));
        open();
        auto *number = c->board()->label(4);
        const int middle = number->geometry().center().x();
        c->setText("Text5", QStringLiteral("12"));
        c->click("command12");
        QCOMPARE(number->text(), QStringLiteral("12"));
        QVERIFY(qAbs(number->geometry().center().x() - middle) <= 1);
    }

    // Every way of closing discards the scoreboard and what was written into it.
    void closing_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"Command2", "closeext", "Check11", "close request", "cl"})
            QTest::newRow(how) << how;
        for (int i = 0; i < 8; ++i)
            QTest::addRow("Label1_%d", i) << QStringLiteral("Label1_%1").arg(i);
    }
    void closing()
    {
        QFETCH(QString, how);
        c->click("Optionr3");
        open();
        for (const char *name : {"Frame1", "Label1_0", "Label1_5", "Label1_6", "Label1_7"})
            onBoard(name)->show(); // the clock digits can be clicked too

        if (how == QLatin1String("close request"))
            c->board()->close();
        else if (how.startsWith(QLatin1String("Label1_")))
            QTest::mouseClick(onBoard(qPrintable(how)), Qt::LeftButton, {}, QPoint(2, 2));
        else
            c->click(qPrintable(how));
        QVERIFY(!c->board());
        QCOMPARE(boardWindows(), 0);
        // The console keeps its decision and field number.
        QVERIFY(c->get<QRadioButton>("Optionr3")->isChecked());
        QCOMPARE(c->text("Text5"), QStringLiteral("1"));
        c->click("Command2"); // closing what is closed does nothing
        QVERIFY(c->fake.messages.shown.isEmpty());
    }

    // Closed through its frame, the console leaves an open scoreboard; the
    // program ends when that closes too, whichever way.
    void theProgramEndsWithItsLastWindow_data()
    {
        QTest::addColumn<QString>("how");
        for (const char *how : {"label", "close request", "lost display"})
            QTest::newRow(how) << how;
    }
    void theProgramEndsWithItsLastWindow()
    {
        QFETCH(QString, how);
        open();
        c->kata->close();
        QVERIFY(c->board()->isVisible());
        bool ended = true;
        QTimer::singleShot(0, c->board(), [&] {
            if (how == QLatin1String("label"))
                emit c->board()->label(3)->clicked();
            else if (how == QLatin1String("close request"))
                c->board()->close();
            else
                c->fake.displays.remove(c->board()->screen());
        });
        QTimer::singleShot(3000, qApp, [&] {
            ended = false;
            QApplication::quit();
        });
        QApplication::exec();
        QVERIFY2(ended, "the program went on without a window");
    }

    void clicksElsewhereDoNothing()
    {
        open();
        onBoard("Frame1")->show();
        // Through the window, as the window system delivers a click: to
        // whatever lies under the pointer.
        QWindow *window = c->board()->windowHandle();
        for (const char *name : {"scb", "scr", "Image1", "Image2", "Shape1", "Shape2", "Shape5_0", "Shape5_1", "Frame1"}) {
            QWidget *element = onBoard(name);
            const bool shape = QByteArray(name).startsWith("Shape");
            const QPoint spot = element->mapTo(c->board(), shape ? QPoint(4, element->height() / 2) : element->rect().center());
            QTest::mouseClick(window, Qt::LeftButton, {}, spot);
            QVERIFY2(c->board() && c->board()->isVisible(), name);
        }
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(c->board()->width() / 2, c->board()->height() - 3));
        QVERIFY(c->board() && c->board()->isVisible());
        // ... while the same way, a label closes it.
        QTest::mouseClick(window, Qt::LeftButton, {}, onBoard("Label1_3")->geometry().center());
        QVERIFY(!c->board());
    }

    void zeroScalesAreRefused_data()
    {
        QTest::addColumn<QStringList>("scales");
        QTest::newRow("0.0") << QStringList{"0.0", "1", "1"};
        QTest::newRow("empty") << QStringList{"1", "", "1"};
        QTest::newRow("x1") << QStringList{"1", "1", "x1"};
        QTest::newRow("negative") << QStringList{"-2", "1", "1"};
    }
    void zeroScalesAreRefused()
    {
        QFETCH(QStringList, scales);
        open(); // an open scoreboard is discarded first
        const QString width = c->text("sbtxt");
        c->setText("hsch", scales[0]);
        c->setText("vsch", scales[1]);
        c->setText("fsch", scales[2]);
        c->click("command1");
        QCOMPARE(c->fake.messages.shown, (QList<testing::ShownMessage>{{platform::MessageIcon::Warning, "Scale can not be zero in setup parameters"}}));
        QVERIFY(!c->board());
        QCOMPARE(c->text("sbtxt"), width);
    }

    // Screen readers and tools read every caption.
    void captionsAreReadable()
    {
        auto readable = [](QWidget *widget, const QString &text) {
            QCOMPARE(widget->property("text").toString(), text);
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), text);
        };
        const std::pair<const char *, const char *> console[] = {
            {"Frame11", "External scoreboard"},   {"Frame10", "Timer"}, {"Frame9", "Fieldnumber"}, {"Frame13", "Setup"},
            {"Frame15", "Scoreboard correction"}, {"command12", "Set"}};
        for (const auto &[name, text] : console)
            readable(c->get(name), QLatin1String(text));
        open();
        c->click("Optionb2");
        const std::pair<const char *, const char *> board[] = {{"Label1_1", "Aka"}, {"Label1_2", "Ao"}, {"Label1_3", "Tatami"}, {"Label1_4", "1"},
                                                               {"scr", "3"},        {"scb", "2"},       {"Label1_7", "1"},      {"Label1_5", ":"},
                                                               {"Label1_0", "0"},   {"Label1_6", "0"}};
        for (const auto &[name, text] : board)
            readable(onBoard(name), QLatin1String(text));
    }

    // Writing a count repaints that count, not the picture around it.
    void writingACountRepaintsOnlyIt()
    {
        open();
        QApplication::processEvents();
        struct Painted : QObject {
            QRegion region;
            QWidget *root = nullptr;
            bool eventFilter(QObject *object, QEvent *event) override
            {
                if (event->type() == QEvent::Paint) {
                    auto *widget = static_cast<QWidget *>(object);
                    region += static_cast<QPaintEvent *>(event)->region().translated(widget->mapTo(root, QPoint()));
                }
                return false;
            }
        } painted;
        painted.root = c->board();
        c->board()->installEventFilter(&painted);
        for (QWidget *child : c->board()->findChildren<QWidget *>())
            child->installEventFilter(&painted);

        c->click("Optionb3"); // both counts change: both repaint, nothing else
        QApplication::processEvents();
        const QRegion counts = QRegion(onBoard("scb")->geometry()) + onBoard("scr")->geometry();
        QVERIFY(!painted.region.isEmpty());
        QCOMPARE(counts.intersected(painted.region), painted.region);

        painted.region = QRegion();
        c->kata->publicBoard().setCounts(2, 4); // the blue count alone
        QApplication::processEvents();
        QVERIFY(!painted.region.isEmpty());
        QVERIFY(onBoard("scb")->geometry().contains(painted.region.boundingRect()));
    }
};

QTEST_MAIN(ScoreboardTest)
#include "tst_scoreboard.moc"
