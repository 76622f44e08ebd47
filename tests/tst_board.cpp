// What the public sees, as the console writes it into the board model: the
// rules of an opening, a decision, the clock and its colours, the field
// number and mirroring; and the open scoreboard showing exactly the model.
#include "board/publicboard.h"
#include "support/console.h"
#include "timer/clockrules.h"
#include "ui/colours.h"

#include <QSignalSpy>

using board::State;

namespace {

// "red blue #field clock", then "shown" and the clock's colour where they
// differ from a board as it opens, then "mirrored".
QString describe(const State &s)
{
    QString text = QStringLiteral("%1 %2 #%3 %4").arg(s.red).arg(s.blue).arg(QString::fromStdString(s.fieldNumber), QString::fromStdString(s.clockText()));
    if (s.clockShown)
        text += QStringLiteral(" shown");
    if (s.clockColour != timer::kNormalDigits)
        text += s.warning() ? QStringLiteral(" warning") : QStringLiteral(" coloured");
    if (s.mirrored)
        text += QStringLiteral(" mirrored");
    return text;
}

} // namespace

class BoardTest : public QObject {
    Q_OBJECT

private slots:
    void theConsoleWritesThePublicBoard_data()
    {
        QTest::addColumn<QStringList>("steps"); // a control clicked, "Field=text" typed, "+ms" of the clock passing
        QTest::addColumn<QString>("shows");
        QTest::addColumn<int>("changes"); // announced by the last step
        // clang-format off
        const std::tuple<const char *, QStringList, const char *, int> rows[] = {
            {"start-up: a board as it opens", {}, "0 0 #1 1:00", 0},
            {"a decision", {"Optionr2"}, "2 3 #1 1:00", 1},
            {"3 referees: the rest", {"Options3", "Optionb3"}, "0 3 #1 1:00", 1},
            {"the referee count alone publishes nothing", {"Optionr2", "Options3"}, "2 3 #1 1:00", 0},
            {"an opening shows no decision", {"Optionr2", "command1"}, "0 0 #1 1:00", 1},
            {"the flag already chosen publishes nothing", {"Optionr2", "command1", "Optionr2"}, "0 0 #1 1:00", 0},
            {"chosen anew from the other side", {"Optionr2", "command1", "Optionb2"}, "3 2 #1 1:00", 1},
            {"Reset match clears it", {"Optionr2", "command3"}, "0 0 #1 1:00", 1},
            {"and hides the running clock of an open board", {"command1", "Text1=2", "Command4", "+1000", "Optionr2", "command3"}, "0 0 #1 2:00", 5},
            {"from the menu as well", {"command1", "Text1=2", "Command4", "+1000", "Optionr2", "resmatch"}, "0 0 #1 2:00", 5},
            {"a tick writes the changed digits", {"Command4", "+1000"}, "0 0 #1 0:59 shown", 3},
            {"an opening hides the running clock", {"Command4", "+1000", "command1"}, "0 0 #1 1:00", 1},
            {"until the next Start", {"Command4", "+1000", "command1", "+1000", "Command5", "Command4"}, "0 0 #1 0:58 shown", 1},
            {"Stop publishes nothing", {"Command4", "+1000", "Command5"}, "0 0 #1 0:59 shown", 0},
            {"the warning at 0:10", {"Text1=0", "Text6=11", "command6", "Command4", "+1000"}, "0 0 #1 0:10 shown warning", 2},
            {"the end: the normal colour", {"Text1=0", "Text6=11", "command6", "Command4", "+1000", "+10000"}, "0 0 #1 0:00 shown", 2},
            {"Reset time: hidden, the normal colour", {"Text1=0", "Text6=11", "command6", "Command4", "+1000", "command6"}, "0 0 #1 0:11", 3},
            {"typing a field number publishes nothing", {"Text5=7"}, "0 0 #1 1:00", 0},
            {"the field number on Set", {"Text5=7", "command12"}, "0 0 #7 1:00", 1},
            {"character for character", {"Text5=", "command12"}, "0 0 # 1:00", 1},
            {"an opening takes the console's", {"Text5=12", "command1"}, "0 0 #12 1:00", 1},
            {"External: the browsers at once", {"Check11"}, "0 0 #1 1:00 mirrored", 1},
            {"and the hall's board at its next opening", {"command1", "Check11", "command1"}, "0 0 #1 1:00 mirrored", 1},
            {"Internal changes nothing the public sees", {"Check10"}, "0 0 #1 1:00", 0},
        };
        // clang-format on
        for (const auto &[name, steps, shows, changes] : rows)
            QTest::newRow(name) << steps << QString::fromLatin1(shows) << changes;
    }
    void theConsoleWritesThePublicBoard()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, shows);
        QFETCH(int, changes);
        testing::Console c;
        const board::PublicBoard &model = c.kata->publicBoard();
        QSignalSpy changed(&model, &board::PublicBoard::changed);
        for (const QString &step : steps) {
            changed.clear();
            if (step.startsWith(QLatin1Char('+')))
                c.elapse(step.mid(1).toLongLong());
            else if (const qsizetype is = step.indexOf(QLatin1Char('=')); is > 0)
                c.setText(step.left(is).toLatin1().constData(), step.mid(is + 1));
            else
                c.click(step.toLatin1().constData());
        }
        QCOMPARE(describe(model.state()), shows);
        QCOMPARE(int(changed.size()), changes);

        // An open scoreboard shows exactly the model, mirrored as it says.
        if (scoreboard::Kabord *b = c.board()) {
            const State &s = model.state();
            auto text = [b](int i) { return b->label(i)->text(); };
            QCOMPARE(c.boardText("scr") + ' ' + c.boardText("scb") + " #" + text(4) + ' ' + text(7) + text(5) + text(0) + text(6),
                     QStringLiteral("%1 %2 #%3 %4").arg(s.red).arg(s.blue).arg(QString::fromStdString(s.fieldNumber), QString::fromStdString(s.clockText())));
            for (const char *name : {"Shape5_3", "Frame1", "Label1_0", "Label1_5", "Label1_6", "Label1_7"})
                QCOMPARE(!b->element(name)->isHidden(), s.clockShown);
            for (int i : {7, 5, 0, 6})
                QCOMPARE(b->label(i)->textColour(), ui::toQColor(s.clockColour));
            QCOMPARE(b->redCount()->x() < b->blueCount()->x(), s.mirrored);
        }
    }

    // The counts are kept to one digit; a write that changes nothing says so.
    void theStateKeepsToItsRules()
    {
        State s = State::opened("3", false);
        QVERIFY(s.setCounts(12, -1));
        QVERIFY(!s.setCounts(9, 0) && !s.write(board::Digit::Tens, "0") && !s.setFieldNumber("3"));
        QVERIFY(s.write(board::Digit::Units, "") && s.setClockColour(timer::kWarningDigits));
        QCOMPARE(describe(s), QStringLiteral("9 0 #3 1:0 warning"));
    }
};

QTEST_MAIN(BoardTest)
#include "tst_board.moc"
