// The match clock, the time entry, the sound signals and the match reset,
// driven through the console as the operator drives them.
#include "board/publicboard.h"
#include "decision/decisionpanel.h"
#include "support/console.h"
#include "timer/matchclock.h"
#include "ui/colours.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>

using testing::SoundRequest;

namespace {

const QColor kDarkRed(143, 0, 0);
const QColor kBlack(0, 0, 0);
const SoundRequest kWarning{"/snd/bell.wav", platform::Signal::Warning};
const SoundRequest kEnd{"/snd/gong.wav", platform::Signal::End};

// Records each request, and whether the console's tens digit was painted
// anew since the last tick began: on screen before its sound starts.
class WatchingSounds final : public platform::Sounds, public QObject {
public:
    QList<SoundRequest> requests;
    QList<bool> paintedFirst;
    int paints = 0, paintsBeforeTick = 0;
    void choose(platform::Signal, const QString &) override {}
    void play(const QString &path, platform::Signal fallback) override
    {
        requests.append({path, fallback});
        paintedFirst.append(paints > paintsBeforeTick);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class ClockTest : public QObject {
    Q_OBJECT

private:
    WatchingSounds m_sounds;
    std::unique_ptr<testing::Console> c;

    // The public board's clock as the model holds it; tst_board shows an open scoreboard shows exactly that.
    const board::State &state() const { return c->kata->publicBoard().state(); }
    QString board() const { return QString::fromStdString(state().clockText()); }
    bool boardClockShown() const { return state().clockShown; }
    QColor boardColour() const { return ui::toQColor(state().clockColour); }
    // The console's clock, whether it runs, and which of Start and Stop (one spot) the operator sees.
    QString seen() const
    {
        QWidget *start = c->get("Command4"), *stop = c->get("Command5");
        const QObjectList &stack = start->parent()->children();
        const bool onTop = !stop->isVisible() || stack.indexOf(start) > stack.indexOf(stop);
        return c->clock() + (c->running() ? " running " : " stopped ") + (start->isVisible() && onTop ? "Start" : stop->isVisible() ? "Stop" : "none");
    }
    void setTime(const char *minutes, const char *seconds, const char *reset = "command6")
    {
        c->setText("Text1", QLatin1String(minutes));
        c->setText("Text6", QLatin1String(seconds));
        c->click(reset);
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            m_sounds.paintsBeforeTick = m_sounds.paints;
            c->elapse();
        }
    }

private slots:
    void init()
    {
        m_sounds.requests.clear();
        m_sounds.paintedFirst.clear();
        c = std::make_unique<testing::Console>(&m_sounds);
        c->get("Label2")->installEventFilter(&m_sounds);
        c->setText("waarwav", QStringLiteral("/snd/bell.wav"));
        c->setText("eindwav", QStringLiteral("/snd/gong.wav"));
    }
    void cleanup() { c.reset(); }

    // Initial, Running, Stopped, Ended, and no message on the way (Start refused at 0:00: tst_keys,
    // resetLoadsTheSetTime). The public board follows while the scoreboard is closed.
    void stateTable()
    {
        QCOMPARE(seen(), QStringLiteral("1:00 stopped Start"));
        c->click("Command4");
        QCOMPARE(seen(), QStringLiteral("1:00 running Stop"));
        QVERIFY(!c->board()); // the public board is written, no window opened
        // The test buttons play the sound named at that moment; the clock goes on.
        c->click("MyButton3");
        c->setText("eindwav", QStringLiteral("/other/end.wav"));
        c->click("MyButton2");
        c->setText("waarwav", QString());
        c->click("MyButton3");
        QCOMPARE(m_sounds.requests, (QList<SoundRequest>{kWarning, {"/other/end.wav", platform::Signal::End}, {"", platform::Signal::Warning}}));
        QCOMPARE(seen(), QStringLiteral("1:00 running Stop"));
        ticks(1);
        c->click("Command5");
        QCOMPARE(seen(), QStringLiteral("0:59 stopped Start"));
        c->click("Command4");
        ticks(59);
        QCOMPARE(seen(), QStringLiteral("0:00 stopped Start")); // Ended
        QVERIFY(c->fake.messages.shown.isEmpty());
    }

    // Dark red from 0:10 on the scoreboard only; each sound after its repaint.
    void warningAndEnd()
    {
        setTime("0", "11");
        c->click("Command4");
        ticks(1);
        QCOMPARE(c->clock(), QStringLiteral("0:10"));
        QCOMPARE(m_sounds.requests, QList<SoundRequest>{kWarning});
        QVERIFY(m_sounds.paintedFirst.last());
        for (const char *digit : {"Label1", "Label2", "Label3"})
            QCOMPARE(c->get(digit)->palette().color(QPalette::WindowText), QColor(0, 0, 64));

        // Stopped in the last seconds, it resumes in the warning colour.
        ticks(5);
        c->click("Command5");
        c->click("Command4");
        QCOMPARE(c->clock(), QStringLiteral("0:05"));
        QCOMPARE(boardColour(), kDarkRed);
        ticks(5);
        QCOMPARE(m_sounds.requests, (QList<SoundRequest>{kWarning, kEnd}));
        QVERIFY(m_sounds.paintedFirst.last());

        // After the end a reset lets the clock start again; one in the last seconds stops it (and the colour: tst_board).
        c->click("command6");
        c->click("Command4");
        ticks(2);
        QCOMPARE(seen(), QStringLiteral("0:09 running Stop"));
        QCOMPARE(m_sounds.requests, (QList<SoundRequest>{kWarning, kEnd, kWarning}));
        QCOMPARE(boardColour(), kDarkRed);
        setTime("1", "11");
        QCOMPARE(seen(), QStringLiteral("1:11 stopped Start"));
    }

    // The entered time, split into the clock's digits as the text stands; the tick reads them as they are shown.
    // Row by row on one console: each Reset time stops and hides what the row before started.
    void resetLoadsTheSetTime()
    {
        // clang-format off
        const char *const rows[][5] = { // minutes, seconds, loaded, after one tick (empty: Start refused)
            {"one character", "1", "5", "1:55", "1:54"},
            {"three characters", "1", "123", "1:13", "1:12"},
            {"seconds empty", "1", "", "1:", "0:59"},
            {"minutes 05 as loaded", "05", "00", "05:00", "4:59"},
            {"all blank", "", "", ":", ""},
        };
        // clang-format on
        for (const auto &[name, minutes, seconds, loaded, afterOneTick] : rows) {
            const auto row = testing::naming(name);
            setTime(minutes, seconds, "restime");
            QCOMPARE(board(), QLatin1String(loaded));
            QVERIFY(!boardClockShown());
            c->click("Command4");
            QCOMPARE(seen(), QString(loaded) + (*afterOneTick ? " running Stop" : " stopped Start"));
            QCOMPARE(boardClockShown(), c->running());
            if (!c->running())
                continue;
            ticks(1);
            QCOMPARE(c->clock(), QLatin1String(afterOneTick));
            QCOMPARE(board(), QLatin1String(afterOneTick));
        }
    }

    // The referee count, its hidden buttons and the field number stay (what the board shows: tst_board).
    void matchReset()
    {
        c->click("Options3");
        c->click("Optionr2");
        c->setText("Text5", QStringLiteral("4"));
        c->click("command12");
        c->click("command1");
        setTime("2", "00");
        c->click("Command4");
        ticks(3);

        for (const char *reset : {"command3", "resmatch"}) {
            c->click("Optionb1");
            c->click(reset);
            QCOMPARE(seen(), QStringLiteral("2:00 stopped Start"));
            QCOMPARE(c->kata->decision().counts(), (decision::FlagCounts{0, 0}));
            QCOMPARE(c->kata->decision().refereeCount(), 3);
            QVERIFY(c->get("Optionr4")->isHidden() && c->get("Label11")->isHidden());
            QCOMPARE(c->boardText("Label1_4"), QStringLiteral("4"));
            QVERIFY(c->board()->isVisible());
        }
    }

    // Digits and backspace go in; "." is refused with a message; all else typed or pasted is dropped; editing keys
    // work. The minutes hold one digit, however they are set.
    void typedEntries()
    {
        for (const char *field : {"Text1", "Text6", "Text5"}) { // the minutes, the seconds, the field number
            const auto row = testing::naming(field);
            c->fake.messages.shown.clear();
            auto *edit = c->get<QLineEdit>(field);
            edit->clear();
            edit->setFocus();
            c->type(field, QStringLiteral("7a -,+"));
            QTest::keyClick(edit, Qt::Key_Return);
            QVERIFY(c->fake.messages.shown.isEmpty());
            QTest::keyClick(edit, '.');
            QCOMPARE(c->fake.messages.shown, (QList<testing::ShownMessage>{{platform::MessageIcon::Warning, " Only full numbers allowed !"}}));

            QGuiApplication::clipboard()->setText(QStringLiteral("1.5x"));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
            QTest::keyClick(edit, Qt::Key_7, Qt::AltModifier);
            QCOMPARE(edit->text(), QStringLiteral("7")); // nothing of the above went in
            // An input method's text is filtered character by character.
            edit->clear();
            QInputMethodEvent composed;
            composed.setCommitString(QStringLiteral("a2b"));
            QCoreApplication::sendEvent(edit, &composed);
            QCOMPARE(edit->text(), QStringLiteral("2"));
            edit->setText(QStringLiteral("10"));
            QCOMPARE(edit->text(), field == std::string_view("Text1") ? QStringLiteral("0") : QStringLiteral("10"));
            edit->setText(QStringLiteral("9"));
            QCOMPARE(edit->text(), QStringLiteral("9"));

            // Backspace and Delete work, also where the keyboard reports a character for them; Tab leaves the field.
            QTest::keyClick(edit, Qt::Key_Backspace);
            c->type(field, QStringLiteral("3"));
            QTest::keyClick(edit, Qt::Key_Left);
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_Delete, QStringLiteral("\x7f"), Qt::NoModifier);
            QCOMPARE(edit->text(), QString());
            QCOMPARE(c->fake.messages.shown.size(), 1);
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_Tab, QStringLiteral("\t"), Qt::NoModifier);
            QVERIFY(!edit->hasFocus());
        }
    }

    // A clock held up shows the time that has really passed: the late tick counts every second due, the warning and
    // the end once each, and the next tick keeps to the whole seconds after Start.
    void heldUp()
    {
        auto *timer = c->get<QTimer>("Timer1");
        // seconds set (0 minutes), the first tick's ms after Start, the clock then, ms to the next tick (0: stopped), warned
        const std::tuple<const char *, const char *, int, const char *, int, bool> rows[] = {{"early", "30", 999, "0:30", 1, false},
                                                                                             {"1.5 s", "30", 2500, "0:28", 500, false},
                                                                                             {"3 s across 0:10", "12", 4000, "0:08", 1000, true},
                                                                                             {"20 s past 0:00", "05", 21000, "0:00", 0, false}};
        for (const auto &[name, seconds, late, shown, nextIn, warned] : rows) {
            const auto row = testing::naming(name);
            m_sounds.requests.clear();
            setTime("0", seconds);
            c->click("Command4");
            c->elapse(late);
            QCOMPARE(seen(), QString(shown) + (nextIn ? " running Stop" : " stopped Start"));
            QCOMPARE(board(), QLatin1String(shown));
            if (nextIn)
                QVERIFY2(std::abs(timer->remainingTime() - nextIn) <= 50, qPrintable(QString::number(timer->remainingTime())));
            QCOMPARE(m_sounds.requests, nextIn ? QList<SoundRequest>(warned, kWarning) : QList<SoundRequest>{kEnd});
            QCOMPARE(boardColour(), warned ? kDarkRed : kBlack);
            // On to the end, each tick on time: each signal once.
            for (int i = 0; i < 40 && c->running(); ++i)
                c->elapse(timer->interval());
            QCOMPARE(c->clock(), QStringLiteral("0:00"));
            QCOMPARE(m_sounds.requests, (QByteArray(seconds).toInt() > 10 ? QList<SoundRequest>{kWarning, kEnd} : QList<SoundRequest>{kEnd}));
        }
    }

    // A stop costs nothing: the next tick is due a whole second after the new Start, on a precise timer (a coarse one errs 5 %).
    void stopCostsNothing()
    {
        auto *timer = c->get<QTimer>("Timer1");
        const auto armed = [timer](int due) { return timer->isActive() && timer->timerType() == Qt::PreciseTimer && timer->interval() == due; };
        c->click("Command4");
        QVERIFY(armed(1000));
        ticks(1);
        QVERIFY(armed(1000));
        c->click("Command5");
        c->elapse(4300); // stopped: no tick counts
        QCOMPARE(c->clock(), QStringLiteral("0:59"));
        c->click("Command4");
        c->elapse(999);
        QCOMPARE(c->clock(), QStringLiteral("0:59"));
        QVERIFY(armed(1));
        c->elapse(1);
        QCOMPARE(c->clock(), QStringLiteral("0:58"));
        QVERIFY(armed(1000));
    }

    // The real Timer1 on the real monotonic clock: two ticks, a second apart, never early (RUN_SERIAL: others stretch the lateness).
    void timerTicksOnceASecond()
    {
        c->fake.realTime = true;
        QElapsedTimer clock;
        c->click("Command4");
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(c->clock(), QStringLiteral("0:59"), 10000);
        const qint64 first = clock.elapsed();
        QTRY_COMPARE_WITH_TIMEOUT(c->clock(), QStringLiteral("0:58"), 10000);
        const qint64 second = clock.elapsed();
        QVERIFY2(first >= 990 && first < 1500 && second >= 1990 && second < 2500,
                 qPrintable(QStringLiteral("ticks after %1 and %2 ms").arg(first).arg(second)));
    }
};

QTEST_MAIN(ClockTest)
#include "tst_clock.moc"
