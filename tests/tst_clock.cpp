// The match clock, the time entry, the sound signals and the match reset,
// driven through the console as the operator drives them.
#include "console/console.h"
#include "decision/decisionpanel.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"
#include "support/fakeplatform.h"
#include "timer/matchclock.h"
#include "ui/widgets.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <memory>

using testing::SoundRequest;

namespace {

const QColor kDarkRed(143, 0, 0);
const QColor kBlack(0, 0, 0);
const QColor kConsoleDigits(0, 0, 64);

// Records each request, and whether the console's tens digit had been
// painted with its new text by then.
class WatchingSounds final : public ui::Sounds {
public:
    QList<SoundRequest> requests;
    QList<bool> paintedFirst;
    QWidget *watched = nullptr;
    int paintsOfWatched = 0;
    int paintsAtLastWrite = 0;
    void play(const QString &path, ui::Signal fallback) override
    {
        requests.append({path, fallback});
        paintedFirst.append(paintsOfWatched > paintsAtLastWrite);
    }
};

} // namespace

class ClockTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::FakePlatform> m_fake;
    WatchingSounds m_sounds;
    std::unique_ptr<console::Kata> m_kata;

    template <typename T = QWidget>
    T *get(const char *name) const
    {
        T *widget = m_kata->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    void click(const char *name)
    {
        QWidget *widget = get(name);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    QString console() const
    {
        return get<QLabel>("Label1")->text() + ':' + get<QLabel>("Label2")->text() + get<QLabel>("Label3")->text();
    }
    ui::AutoLabel *boardLabel(int index) const { return m_kata->scoreboard().instance().label(index); }
    QString board() const
    {
        return boardLabel(7)->text() + boardLabel(5)->text() + boardLabel(0)->text() + boardLabel(6)->text();
    }
    bool boardClockShown() const
    {
        scoreboard::Kabord &b = m_kata->scoreboard().instance();
        const bool shown = !b.element("Frame1")->isHidden();
        for (const char *name : {"Shape5_3", "Label1_0", "Label1_7", "Label1_5", "Label1_6"})
            if (b.element(name)->isHidden() == shown)
                qFatal("the clock group is half shown");
        return shown;
    }
    QColor boardColour() const
    {
        const QColor colour = boardLabel(7)->textColour();
        for (int i : {5, 0, 6})
            if (boardLabel(i)->textColour() != colour)
                qFatal("the clock labels differ in colour");
        return colour;
    }
    bool running() const { return get<QTimer>("Timer1")->isActive(); }
    // Start and Stop share one spot: which of them the operator sees.
    QString shownButton() const
    {
        QWidget *start = get("Command4");
        QWidget *stop = get("Command5");
        if (start->isVisible() && (!stop->isVisible() || start->parent()->children().indexOf(start) > start->parent()->children().indexOf(stop)))
            return QStringLiteral("Start");
        return stop->isVisible() ? QStringLiteral("Stop") : QStringLiteral("none");
    }
    void setTime(const QString &minutes, const QString &seconds)
    {
        get<QLineEdit>("Text1")->setText(minutes);
        get<QLineEdit>("Text6")->setText(seconds);
        click("command6");
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            m_sounds.paintsAtLastWrite = m_sounds.paintsOfWatched;
            m_kata->clock().tick();
        }
    }
    void type(const char *field, const QString &keys)
    {
        for (QChar key : keys)
            QTest::keyClick(get(field), key.toLatin1());
    }

private slots:
    void init()
    {
        m_fake = std::make_unique<testing::FakePlatform>();
        m_sounds = WatchingSounds();
        ui::Platform platform = m_fake->platform();
        platform.sounds = &m_sounds;
        m_kata = std::make_unique<console::Kata>(platform);
        m_kata->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_kata.get()));
        m_kata->setOuterHeight(7800);
        get<QLineEdit>("waarwav")->setText(QStringLiteral("/snd/bell.wav"));
        get<QLineEdit>("eindwav")->setText(QStringLiteral("/snd/gong.wav"));
    }
    void cleanup()
    {
        m_kata.reset();
        m_fake.reset();
    }

    // Initial, Running, Stopped, Ended, and Start refused at 0:00.
    void stateTable()
    {
        QCOMPARE(console(), QStringLiteral("1:00"));
        QCOMPARE(get<QLineEdit>("Text1")->text(), QStringLiteral("1"));
        QCOMPARE(get<QLineEdit>("Text6")->text(), QStringLiteral("00"));
        QVERIFY(!running());
        QCOMPARE(get<QTimer>("Timer1")->interval(), 1000);
        QCOMPARE(shownButton(), QStringLiteral("Start"));

        click("Command4");
        QVERIFY(running());
        QCOMPARE(shownButton(), QStringLiteral("Stop"));
        QVERIFY(boardClockShown());
        QCOMPARE(board(), QStringLiteral("1:00"));
        QVERIFY(!m_kata->scoreboard().current()->isVisible()); // written, never opened

        ticks(1);
        QCOMPARE(console(), QStringLiteral("0:59"));
        QCOMPARE(board(), QStringLiteral("0:59"));

        click("Command5"); // Stopped: the time and the shown clock stay
        QVERIFY(!running());
        QCOMPARE(shownButton(), QStringLiteral("Start"));
        QCOMPARE(board(), QStringLiteral("0:59"));
        QVERIFY(boardClockShown());

        click("Command4");
        ticks(59);
        QCOMPARE(console(), QStringLiteral("0:00")); // Ended
        QVERIFY(!running());
        QCOMPARE(shownButton(), QStringLiteral("Start"));
        QCOMPARE(boardColour(), kBlack);
        QVERIFY(boardClockShown());
        QCOMPARE(m_sounds.requests,
                 (QList<SoundRequest>{{"/snd/bell.wav", ui::Signal::Warning}, {"/snd/gong.wav", ui::Signal::End}}));

        click("Command4"); // nothing at 0:00
        QVERIFY(!running());
        QCOMPARE(shownButton(), QStringLiteral("Start"));
        QVERIFY(m_fake->messages.shown.isEmpty());
    }

    void startRefusedAtZero_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::newRow("0:00") << "0" << "00";
        QTest::newRow("blank") << "" << "";
        QTest::newRow("0 and blank") << "0" << "";
    }
    void startRefusedAtZero()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        setTime(minutes, seconds);
        const QString before = console();
        click("Command4");
        QVERIFY(!running());
        QCOMPARE(shownButton(), QStringLiteral("Start"));
        QVERIFY(!boardClockShown());
        QCOMPARE(console(), before);
    }

    // Dark red from 0:10 on the scoreboard only; the sound after the repaint.
    void warningAndEnd()
    {
        m_sounds.watched = get("Label2");
        struct Counter : QObject {
            int *paints;
            bool eventFilter(QObject *, QEvent *e) override
            {
                *paints += e->type() == QEvent::Paint;
                return false;
            }
        } counter;
        counter.paints = &m_sounds.paintsOfWatched;
        get("Label2")->installEventFilter(&counter);

        setTime(QStringLiteral("0"), QStringLiteral("11"));
        click("Command4");
        ticks(1);
        QCOMPARE(console(), QStringLiteral("0:10"));
        QCOMPARE(m_sounds.requests, (QList<SoundRequest>{{"/snd/bell.wav", ui::Signal::Warning}}));
        QVERIFY(m_sounds.paintedFirst.last());
        QCOMPARE(boardColour(), kDarkRed);
        for (const char *digit : {"Label1", "Label2", "Label3"})
            QCOMPARE(get<QLabel>(digit)->palette().color(QPalette::WindowText), kConsoleDigits);

        // Stopped in the last seconds, it resumes in the warning colour.
        ticks(5);
        click("Command5");
        QCOMPARE(console(), QStringLiteral("0:05"));
        click("Command4");
        QCOMPARE(boardColour(), kDarkRed);
        ticks(5);
        QCOMPARE(console(), QStringLiteral("0:00"));
        QCOMPARE(m_sounds.requests.last(), (SoundRequest{"/snd/gong.wav", ui::Signal::End}));
        QVERIFY(m_sounds.paintedFirst.last());
        QCOMPARE(boardColour(), kBlack);
        QCOMPARE(m_sounds.requests.size(), 2);
    }

    void noWarningWithMinutesLeftOrFromTen()
    {
        setTime(QStringLiteral("1"), QStringLiteral("11"));
        click("Command4");
        ticks(1);
        QCOMPARE(console(), QStringLiteral("1:10"));
        QVERIFY(m_sounds.requests.isEmpty());
        QCOMPARE(boardColour(), kBlack);

        setTime(QStringLiteral("0"), QStringLiteral("10"));
        click("Command4");
        ticks(10);
        QCOMPARE(console(), QStringLiteral("0:00"));
        QCOMPARE(m_sounds.requests, (QList<SoundRequest>{{"/snd/gong.wav", ui::Signal::End}}));
        QCOMPARE(boardColour(), kBlack);
    }

    // The entered time, split into the clock's digits.
    void resetLoadsTheSetTime_data()
    {
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<QString>("afterOneTick"); // empty: Start refused
        QTest::newRow("1:00") << "1" << "00" << "1:00" << "0:59";
        QTest::newRow("one character") << "1" << "5" << "1:55" << "1:54";
        QTest::newRow("three characters") << "1" << "123" << "1:13" << "1:12";
        QTest::newRow("seconds empty") << "1" << "" << "1:" << "0:59";
        QTest::newRow("seconds empty, minutes 0") << "0" << "" << "0:" << "";
        QTest::newRow("75 seconds") << "1" << "75" << "1:75" << "1:74";
        QTest::newRow("minutes 05 as loaded") << "05" << "00" << "05:00" << "4:59";
    }
    void resetLoadsTheSetTime()
    {
        QFETCH(QString, minutes);
        QFETCH(QString, seconds);
        QFETCH(QString, loaded);
        QFETCH(QString, afterOneTick);
        get<QLineEdit>("Text1")->setText(minutes);
        get<QLineEdit>("Text6")->setText(seconds);
        get<QAction>("restime")->trigger();
        QCOMPARE(console(), loaded);
        QCOMPARE(board(), loaded);
        QVERIFY(!boardClockShown());
        click("Command4");
        QCOMPARE(running(), !afterOneTick.isEmpty());
        if (!running())
            return;
        QVERIFY(boardClockShown());
        ticks(1);
        QCOMPARE(console(), afterOneTick);
        QCOMPARE(board(), afterOneTick);
    }

    void resetDuringTheLastSeconds()
    {
        setTime(QStringLiteral("0"), QStringLiteral("12"));
        click("Command4");
        ticks(4);
        QCOMPARE(boardColour(), kDarkRed);
        setTime(QStringLiteral("2"), QStringLiteral("30"));
        QVERIFY(!running());
        QCOMPARE(shownButton(), QStringLiteral("Start"));
        QCOMPARE(boardColour(), kBlack);
        QVERIFY(!boardClockShown());
        QCOMPARE(console(), QStringLiteral("2:30"));
        // After an ended match, Start works again with the entered time.
        setTime(QStringLiteral("0"), QStringLiteral("01"));
        click("Command4");
        ticks(1);
        click("command6");
        click("Command4");
        QVERIFY(running());
    }

    // A closed scoreboard is written all the same; a new one shows no clock
    // until the next Start.
    void theScoreboardFollowsWhileClosed()
    {
        click("command1");
        click("Command4");
        ticks(2);
        click("Command2"); // closed while the clock runs
        QVERIFY(running());
        ticks(1);
        QVERIFY(!m_kata->scoreboard().current()->isVisible());
        QCOMPARE(board(), QStringLiteral("0:57"));
        QVERIFY(!boardClockShown());
        QCOMPARE(boardColour(), kBlack);

        click("command1"); // reopened: the clock group stays hidden
        QVERIFY(!boardClockShown());
        ticks(1);
        QCOMPARE(board(), QStringLiteral("0:56"));
        click("Command5");
        click("Command4");
        QVERIFY(boardClockShown());
    }

    void matchReset()
    {
        click("Options3");
        click("Optionr2");
        get<QLineEdit>("Text5")->setText(QStringLiteral("4"));
        click("command12");
        click("command1");
        setTime(QStringLiteral("2"), QStringLiteral("00"));
        click("Command4");
        ticks(3);

        click("command3");
        QVERIFY(!running());
        QCOMPARE(console(), QStringLiteral("2:00"));
        QVERIFY(!boardClockShown());
        QCOMPARE(m_kata->decision().counts(), (decision::FlagCounts{0, 0}));
        scoreboard::Kabord &b = m_kata->scoreboard().instance();
        QCOMPARE(b.redCount()->text(), QStringLiteral("0"));
        QCOMPARE(b.blueCount()->text(), QStringLiteral("0"));
        // The referee count, its hidden buttons and the field number stay.
        QCOMPARE(m_kata->decision().refereeCount(), 3);
        QVERIFY(get("Optionr4")->isHidden() && get("Label11")->isHidden());
        QCOMPARE(b.label(4)->text(), QStringLiteral("4"));
        QVERIFY(b.isVisible());

        click("Optionb1");
        get<QAction>("resmatch")->trigger(); // the menu does the same
        QCOMPARE(b.redCount()->text(), QStringLiteral("0"));
        QCOMPARE(m_kata->decision().counts(), (decision::FlagCounts{0, 0}));
    }

    void typedEntries_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("minutes") << "Text1";
        QTest::newRow("seconds") << "Text6";
        QTest::newRow("field number") << "Text5";
    }
    void typedEntries()
    {
        QFETCH(QString, field);
        const QByteArray name = field.toLatin1();
        auto *edit = get<QLineEdit>(name.constData());
        edit->clear();
        edit->setFocus();
        type(name.constData(), QStringLiteral("7a -,+"));
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter);
        QCOMPARE(edit->text(), QStringLiteral("7"));
        QVERIFY(m_fake->messages.shown.isEmpty());

        QTest::keyClick(edit, '.');
        QCOMPARE(edit->text(), QStringLiteral("7"));
        QCOMPARE(m_fake->messages.shown.size(), 1);
        QCOMPARE(m_fake->messages.shown.first().text, QStringLiteral(" Only full numbers allowed !"));
        QCOMPARE(m_fake->messages.shown.first().icon, ui::MessageIcon::Warning);

        // The clipboard shortcuts are dropped; editing keys work.
        QGuiApplication::clipboard()->setText(QStringLiteral("1.5x"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("7"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
        type(name.constData(), QStringLiteral("3"));
        QTest::keyClick(edit, Qt::Key_Left);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QString());
        QCOMPARE(m_fake->messages.shown.size(), 1);
    }

    void minutesKeepOneDigit()
    {
        auto *minutes = get<QLineEdit>("Text1");
        minutes->clear();
        minutes->setFocus();
        type("Text1", QStringLiteral("9"));
        QCOMPARE(minutes->text(), QStringLiteral("9"));
        minutes->clear();
        type("Text1", QStringLiteral("12"));
        QCOMPARE(minutes->text(), QStringLiteral("0"));
        minutes->setText(QStringLiteral("10")); // not typed: the same rule
        QCOMPARE(minutes->text(), QStringLiteral("0"));
        get<QLineEdit>("Text6")->setText(QStringLiteral("99")); // the seconds have no rule
        QCOMPARE(get<QLineEdit>("Text6")->text(), QStringLiteral("99"));
    }

    // The test buttons play the sound named at that moment; the clock goes on.
    void testButtonsPlay()
    {
        click("Command4");
        click("MyButton3");
        get<QLineEdit>("eindwav")->setText(QStringLiteral("/other/end.wav"));
        click("MyButton2");
        get<QLineEdit>("waarwav")->clear();
        click("MyButton3");
        QCOMPARE(m_sounds.requests, (QList<SoundRequest>{{"/snd/bell.wav", ui::Signal::Warning},
                                                         {"/other/end.wav", ui::Signal::End},
                                                         {"", ui::Signal::Warning}}));
        QVERIFY(running());
        QCOMPARE(console(), QStringLiteral("1:00"));
        QVERIFY(m_fake->messages.shown.isEmpty());
    }

    // The real Timer1, once: a tick a second, on schedule.
    void timerTicksOnceASecond()
    {
        QElapsedTimer clock;
        click("Command4");
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(console(), QStringLiteral("0:58"), 2500);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 1990 && elapsed < 2300, qPrintable(QString::number(elapsed)));
        click("Command5");
        QTest::qWait(1100);
        QCOMPARE(console(), QStringLiteral("0:58"));
    }
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
