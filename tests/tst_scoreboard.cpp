// The external scoreboard driven from the console: its single instance,
// publishing, the field number, opening, closing and readable texts.
#include "console/console.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"
#include "support/fakeplatform.h"
#include "ui/widgets.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <memory>

using scoreboard::Kabord;

class ScoreboardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::FakePlatform> m_fake;
    std::unique_ptr<console::Kata> m_kata;

    template <typename T = QWidget>
    T *get(const QString &name) const
    {
        T *widget = m_kata->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    Kabord *board() const { return m_kata->scoreboard().current(); }
    template <typename T = QWidget>
    T *onBoard(const char *name) const
    {
        return board()->findChild<T *>(QLatin1String(name));
    }
    QString boardText(const char *name) const { return onBoard<ui::AutoLabel>(name)->text(); }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    void click(const char *name) { click(get(QLatin1String(name))); }
    void setText(const char *field, const QString &text) { get<QLineEdit>(QLatin1String(field))->setText(text); }
    // Scoreboard windows that the window system still holds.
    int boardWindows() const
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            n += w->objectName() == QLatin1String("Kabord");
        return n;
    }
    void open()
    {
        click("command1");
        QVERIFY(board() && board()->isVisible());
    }

private slots:
    void init()
    {
        m_fake = std::make_unique<testing::FakePlatform>();
        m_kata = std::make_unique<console::Kata>(m_fake->platform());
        m_kata->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_kata.get()));
        m_kata->setOuterHeight(7800); // the setup strip in view
    }
    void cleanup()
    {
        m_kata.reset();
        m_fake.reset();
        QCOMPARE(boardWindows(), 0);
    }

    // Writes create a hidden scoreboard; only opening shows one, always anew.
    void oneInstanceThatOnlyOpeningShows()
    {
        QVERIFY(!board());
        click("Optionr2");
        QVERIFY(board());
        QVERIFY(!board()->isVisible());
        QCOMPARE(boardText("scr"), QStringLiteral("2"));
        QCOMPARE(boardText("scb"), QStringLiteral("3"));
        click("command12"); // "Set" writes into the same hidden instance
        QCOMPARE(boardWindows(), 1);
        QVERIFY(!board()->isVisible());

        open();
        Kabord *first = board();
        QCOMPARE(boardWindows(), 1);
        // A new scoreboard shows no decision until the next choice.
        QCOMPARE(boardText("scr"), QStringLiteral("0"));
        QCOMPARE(boardText("scb"), QStringLiteral("0"));
        const QRect countPlace = onBoard("scb")->geometry();
        const QRect boxPlace = onBoard("Shape5_1")->geometry();

        // Opening again builds it anew from the design: never scaled twice.
        click("Optionb1");
        get<QAction>("startext")->trigger();
        QVERIFY(board() != first);
        QCOMPARE(boardWindows(), 1);
        QCOMPARE(boardText("scb"), QStringLiteral("0"));
        QCOMPARE(onBoard("scb")->geometry(), countPlace);
        QCOMPARE(onBoard("Shape5_1")->geometry(), boxPlace);
        QCOMPARE(onBoard("Frame1")->parentWidget(), board());
        for (const char *digit : {"Label1_0", "Label1_5", "Label1_6", "Label1_7"})
            QCOMPARE(onBoard(digit)->parentWidget(), onBoard("Frame1"));
        // The clock group stays hidden until the clock is started.
        for (const char *name : {"Shape5_3", "Frame1", "Label1_7"})
            QVERIFY(!onBoard(name)->isVisible());
        // It does not take the keyboard from the console.
        QCOMPARE(board()->focusPolicy(), Qt::NoFocus);
        QVERIFY(board()->testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void publishesEveryChoice_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("red");
        QTest::addColumn<QString>("blue");
        QTest::newRow("5 referees, red 5") << QStringList{"Optionr5"} << "5" << "0";
        QTest::newRow("5 referees, blue 1") << QStringList{"Optionb1"} << "4" << "1";
        QTest::newRow("3 referees, red 3") << QStringList{"Options3", "Optionr3"} << "3" << "0";
        QTest::newRow("3 referees, blue 1") << QStringList{"Options3", "Optionb1"} << "2" << "1";
        QTest::newRow("red 1 then red 2") << QStringList{"Optionr1", "Optionr2"} << "2" << "3";
        // Choosing the referee count publishes nothing.
        QTest::newRow("referees after red 4") << QStringList{"Optionr4", "Options3"} << "4" << "1";
    }
    void publishesEveryChoice()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, red);
        QFETCH(QString, blue);
        open();
        for (const QString &name : clicks)
            click(get(name));
        QCOMPARE(boardText("scr"), red);
        QCOMPARE(boardText("scb"), blue);
        QVERIFY(board()->isVisible());
    }

    void publishingNeverOpens()
    {
        click("Optionb3");
        QVERIFY(!board()->isVisible());
        // Mirrored, the counts change places, not meanings.
        click("Check11");
        open();
        click("Optionr4");
        QCOMPARE(boardText("scr"), QStringLiteral("4"));
        QVERIFY(onBoard("scr")->x() < onBoard("scb")->x());
    }

    void fieldNumber()
    {
        // "Set" while closed: a hidden scoreboard takes it.
        setText("Text5", QStringLiteral("12"));
        click("command12");
        QVERIFY(!board()->isVisible());
        QCOMPARE(boardText("Label1_4"), QStringLiteral("12"));

        // Opening copies the field as it stands, centred in its box.
        setText("Text5", QStringLiteral("3"));
        open();
        auto *number = onBoard<ui::AutoLabel>("Label1_4");
        QCOMPARE(number->text(), QStringLiteral("3"));
        QVERIFY(number->isCentred());
        const int middle = number->geometry().center().x();
        setText("Text5", QStringLiteral("12"));
        QCOMPARE(number->text(), QStringLiteral("3")); // typing alone sends nothing
        click("command12");
        QCOMPARE(number->text(), QStringLiteral("12"));
        QVERIFY(qAbs(number->geometry().center().x() - middle) <= 1);
        QVERIFY(number->width() > 0);

        setText("Text5", QString());
        click("command12");
        QCOMPARE(number->text(), QString());
        // A match's decision and the field number survive nothing but their writers.
        click("Options3");
        QCOMPARE(number->text(), QString());
    }

    // Every way of closing discards the scoreboard and what was written into it.
    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close Scoreboard") << "Command2";
        QTest::newRow("menu") << "closeext";
        QTest::newRow("External") << "Check11";
        for (int i = 0; i < 8; ++i)
            QTest::addRow("Label1_%d", i) << QStringLiteral("Label1_%1").arg(i);
        QTest::newRow("window system") << "close request";
        QTest::newRow("console's Close") << "cl";
    }
    void closing()
    {
        QFETCH(QString, how);
        click("Optionr3");
        open();
        board()->findChild<QWidget *>(QStringLiteral("Frame1"))->show(); // clock digits clickable
        for (const char *name : {"Label1_0", "Label1_5", "Label1_6", "Label1_7", "Shape5_3"})
            onBoard(name)->show();

        if (how == QLatin1String("close request"))
            board()->close();
        else if (how.startsWith(QLatin1String("Label1_")))
            click(board()->findChild<QWidget *>(how));
        else if (QAction *action = m_kata->findChild<QAction *>(how))
            action->trigger();
        else
            click(get(how));
        QVERIFY(!board());
        QCOMPARE(boardWindows(), 0);
        // The console keeps its decision and field number.
        QVERIFY(get<QRadioButton>("Optionr3")->isChecked());
        QCOMPARE(get<QLineEdit>("Text5")->text(), QStringLiteral("1"));

        // Closing what is closed does nothing.
        click("Command2");
        QVERIFY(!board());
        QVERIFY(m_fake->messages.shown.isEmpty());
    }

    void clicksElsewhereDoNothing()
    {
        open();
        for (const char *name : {"scb", "scr", "Image1", "Image2", "Shape1", "Shape2", "Shape5_0", "Shape5_1"}) {
            QWidget *element = onBoard(name);
            QTest::mouseClick(board(), Qt::LeftButton, {}, element->geometry().center());
            QVERIFY2(board() && board()->isVisible(), name);
        }
        QTest::mouseClick(board(), Qt::LeftButton, {}, QPoint(board()->width() / 2, board()->height() - 3));
        onBoard("Frame1")->show();
        QTest::mouseClick(onBoard("Frame1"), Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(board() && board()->isVisible());
    }

    void zeroScalesAreRefused_data()
    {
        QTest::addColumn<QStringList>("scales");
        QTest::newRow("0.0") << QStringList{"0.0", "1", "1"};
        QTest::newRow("empty") << QStringList{"1", "", "1"};
        QTest::newRow("x1") << QStringList{"1", "1", "x1"};
        QTest::newRow("negative") << QStringList{"-2", "1", "1"};
        QTest::newRow("all three") << QStringList{"0", "0", "0"};
    }
    void zeroScalesAreRefused()
    {
        QFETCH(QStringList, scales);
        open(); // an open scoreboard is discarded first
        setText("hsch", scales[0]);
        setText("vsch", scales[1]);
        setText("fsch", scales[2]);
        const QString width = get<QLineEdit>("sbtxt")->text();
        click("command1");
        QCOMPARE(m_fake->messages.shown.size(), 1);
        QCOMPARE(m_fake->messages.shown.first().icon, ui::MessageIcon::Warning);
        QCOMPARE(m_fake->messages.shown.first().text, QStringLiteral("Scale can not be zero in setup parameters"));
        QVERIFY(!board());
        QCOMPARE(get<QLineEdit>("sbtxt")->text(), width);
    }

    void measuredSizeInTwips()
    {
        open();
        const QRect screen = m_kata->screen()->geometry(); // a single display: the main one
        QCOMPARE(board()->geometry(), screen);
        QCOMPARE(get<QLineEdit>("sbtxt")->text(), QString::number(screen.width() * 15));
        QCOMPARE(get<QLineEdit>("shtxt")->text(), QString::number(screen.height() * 15));
    }

    // Screen readers and tools read every caption.
    void captionsAreReadable()
    {
        for (const char *frame : {"Frame11", "Frame10", "Frame9", "Frame13", "Frame15"}) {
            QWidget *widget = get(QLatin1String(frame));
            const QString caption = widget->property("text").toString();
            QVERIFY2(!caption.isEmpty(), frame);
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name), caption);
        }
        QCOMPARE(get(QStringLiteral("Frame15"))->property("text").toString(), QStringLiteral("Scoreboard correction"));
        QCOMPARE(get(QStringLiteral("Frame9"))->property("text").toString(), QStringLiteral("Fieldnumber"));
        QCOMPARE(QAccessible::queryAccessibleInterface(get(QStringLiteral("command12")))->text(QAccessible::Name),
                 QStringLiteral("Set"));

        open();
        click("Optionb2");
        const std::pair<const char *, const char *> texts[] = {
            {"Label1_1", "Aka"}, {"Label1_2", "Ao"}, {"Label1_3", "Tatami"}, {"Label1_4", "1"}, {"scr", "3"},
            {"scb", "2"},        {"Label1_7", "1"},  {"Label1_5", ":"},      {"Label1_0", "0"}, {"Label1_6", "0"}};
        for (const auto &[name, text] : texts) {
            QCOMPARE(onBoard(name)->property("text").toString(), QLatin1String(text));
            QCOMPARE(QAccessible::queryAccessibleInterface(onBoard(name))->text(QAccessible::Name), QLatin1String(text));
        }
        QCOMPARE(board()->windowTitle(), QStringLiteral("Form2"));
    }

    // Writing a count repaints that count, not the 4K picture around it.
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
        painted.root = board();
        board()->installEventFilter(&painted);
        for (QWidget *child : board()->findChildren<QWidget *>())
            child->installEventFilter(&painted);
        // A flag choice writes both counts; both are repainted, nothing else.
        click("Optionb3");
        QApplication::processEvents();
        const QRegion counts = QRegion(onBoard("scb")->geometry()) + onBoard("scr")->geometry();
        QVERIFY(!painted.region.isEmpty());
        QCOMPARE(counts.intersected(painted.region), painted.region);

        // Writing one count repaints that count alone.
        painted.region = QRegion();
        m_kata->scoreboard().scorebord(2, 4);
        QApplication::processEvents();
        QVERIFY(!painted.region.isEmpty());
        QVERIFY(onBoard("scb")->geometry().contains(painted.region.boundingRect()));
    }
};

QTEST_MAIN(ScoreboardTest)
#include "tst_scoreboard.moc"
