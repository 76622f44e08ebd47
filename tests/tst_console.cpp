// The console window driven as the operator drives it: clicks and keys on
// the named controls. What it looks like, tst_views compares with its
// approved pictures.
#include "decision/coupling.h"
#include "decision/decisionpanel.h"
#include "support/console.h"
#include "ui/twips.h"

#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>

using decision::FlagCounts;
using decision::Side;

class ConsoleTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;

    QRadioButton *flag(Side side, int k) const
    {
        return c->get<QRadioButton>(qPrintable(QStringLiteral("Option%1%2").arg(side == Side::Red ? 'r' : 'b').arg(k)));
    }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    FlagCounts counts() const { return c->kata->decision().counts(); }

    // Invariants of the decision after any action; the counts themselves are compared where they are known.
    void checkInvariants()
    {
        QVERIFY(c->get<QRadioButton>("Options3")->isChecked() != c->get<QRadioButton>("Options5")->isChecked());
        for (Side side : {Side::Red, Side::Blue}) {
            int selected = 0;
            for (int k = 1; k <= 5; ++k)
                if (flag(side, k)->isChecked())
                    selected += flag(side, k)->isVisibleTo(c->kata.get()) ? 1 : 10; // never a hidden one
            QVERIFY(selected <= 1);
        }
    }

private slots:
    void init() { c = std::make_unique<testing::Console>(nullptr, false); }
    void cleanup() { c.reset(); }

    void startUp()
    {
        QCOMPARE(c->kata->objectName(), QStringLiteral("Kata"));
        QCOMPARE(c->kata->windowTitle(), QStringLiteral("Kovamo Taikan 1.0.8"));
        QCOMPARE(c->kata->minimumSize(), c->kata->maximumSize()); // not resizable
        // Arial and Arial Narrow, or fonts of the same metrics, as in the approved pictures.
        const QRegularExpression arial(QStringLiteral("^(Arial|Liberation Sans)( Narrow)?$"));
        for (const auto &[name, narrow] : {std::pair{"Label1", false}, std::pair{"Label16", true}}) {
            const QString family = QFontInfo(c->get(name)->font()).family();
            QVERIFY2(arial.match(family).hasMatch() && family.endsWith(u"Narrow") == narrow, qPrintable(family));
        }
        QCOMPARE(c->kata->decision().refereeCount(), 5);
        QCOMPARE(counts(), (FlagCounts{0, 0}));
        checkInvariants();
    }

    // A button lights up at once while the pointer is over it, and goes back as it leaves.
    void buttonsLightUpUnderThePointer()
    {
        QWidget *button = c->get("Command4");
        struct Paints : QObject {
            int n = 0;
            bool eventFilter(QObject *, QEvent *event) override { return (n += event->type() == QEvent::Paint, false); }
        } paints;
        button->installEventFilter(&paints);
        const auto face = [button] { return button->grab().toImage().pixelColor(4, button->height() / 2); };
        const QColor plain = face();
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(button->mapToGlobal(QPoint(4, 4))));
        QEvent leave(QEvent::Leave);
        for (QEvent *event : {static_cast<QEvent *>(&enter), &leave}) {
            paints.n = 0;
            QApplication::sendEvent(button, event);
            QTRY_VERIFY_WITH_TIMEOUT(paints.n > 0, 500);
            QCOMPARE(face() != plain, event == &enter);
        }
    }

    // The menu's entries in order, each caption as it is and its key beside it.
    void menuHasItsEntriesInOrder()
    {
        QStringList entries;
        for (const QAction *action : c->get<QMenu>("men")->actions())
            entries << action->objectName() + ':' + (action->isSeparator() ? QStringLiteral("-") : action->text()) + ':'
                    + action->shortcut().toString(QKeySequence::PortableText);
        QCOMPARE(entries,
                 (QStringList{"startext:Start external scoreboard:F11", "closeext:Close external scoreboard:F12",
                              "webbord:Browser scoreboard...:", "lijn1:-:", "su:Setup :", "lijn2:-:", "resmatch:Reset match:Ctrl+R",
                              "restime:Reset time:Ctrl+T", "lijn5:-:", "loadbouts:Load bout list...:Ctrl+L", "bouts:Bouts...:Ctrl+K",
                              "nextbout:Next bout:Ctrl+N", "prevbout:Previous bout:Ctrl+B",
                              "exportres:Export results...:", "resultspdf:Results sheet (PDF)...:", "lijn3:-:", "over:About:", "lijn4:-:", "cl:Close:"}));
    }

    // Every flag button, with both panel sizes, in both arrangements, from every earlier decision.
    void flagChoicesCoupleTheOtherSide()
    {
        click(flag(Side::Red, 2)); // the arrow keys choose as well
        flag(Side::Red, 2)->setFocus();
        QTest::keyClick(flag(Side::Red, 2), Qt::Key_Right);
        QCOMPARE(counts(), (FlagCounts{3, 2}));
        QSignalSpy published(&c->kata->decision(), &decision::DecisionPanel::decisionMade);
        for (const bool mirrored : {false, true}) {
            for (const int n : {3, 5}) {
                c->kata->mirror(mirrored); // the groups keep their meaning
                published.clear();
                c->click(n == 3 ? "Options3" : "Options5");
                QCOMPARE(c->kata->decision().refereeCount(), n);
                // The decision is cleared, the scoreboard keeps what it shows; 4 and 5 show for five referees only.
                QCOMPARE(counts(), (FlagCounts{0, 0}));
                QCOMPARE(published.size(), 0);
                for (const char *name : {"Optionr4", "Optionr5", "Optionb4", "Optionb5", "Label10", "Label11", "Label12", "Label13"})
                    QVERIFY2(c->get(name)->isVisible() == (n == 5), name);
                for (const char *name : {"Optionr3", "Optionb3", "Label14", "Label5"})
                    QVERIFY2(c->get(name)->isVisible(), name);
                for (Side first : {Side::Red, Side::Blue})
                    for (int a = 1; a <= n; ++a)
                        for (Side second : {Side::Red, Side::Blue})
                            for (int b = 1; b <= n; ++b) {
                                click(flag(first, a));
                                QCOMPARE(counts(), decision::couple(n, first, a));
                                checkInvariants();
                                published.clear();
                                const bool selected = (second == Side::Red ? counts().red : counts().blue) == b;
                                click(flag(second, b));
                                QCOMPARE(counts(), decision::couple(n, second, b));
                                checkInvariants();
                                // One publication a choice; the selected button again is no choice.
                                QCOMPARE(published.size(), selected ? 0 : 1);
                            }
            }
        }
    }

    // "Internal" mirrors the two sides, each control taking its partner's
    // place, and back; applied again, an arrangement stays as it is.
    void arrangements()
    {
        const char *names[] = {"Shape1", "Shape2", "Frame3", "Frame2", "Image2", "Image1", "Label19", "Label18", "redName", "blueName", "redClub", "blueClub"};
        const int normal[] = {120, 3120, 400, 4160, 840, 4440, 240, 5000, 240, 4215, 240, 4215};
        const auto expect = [&](bool mirrored) {
            for (int i = 0; i < 12; ++i)
                QVERIFY2(c->get(names[i])->x() == ui::px(normal[mirrored ? i ^ 1 : i]), names[i]);
        };
        c->kata->setOuterHeight(7800); // bring "Internal" into view to click it
        for (int round = 0; round < 2; ++round) {
            c->click("Check10");
            expect(true);
            c->kata->mirror(true);
            expect(true);
            c->click("Check10");
            expect(false);
            c->kata->mirror(false);
            expect(false);
        }
    }
};

QTEST_MAIN(ConsoleTest)
#include "tst_console.moc"
