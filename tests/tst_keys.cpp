// The console's keys: each does what the click on its control does, with
// the focus anywhere on the console, and none takes a typed digit.
#include "console/keys.h"
#include "decision/decisionpanel.h"
#include "support/console.h"

#include <QApplication>

namespace {

using Match = std::unique_ptr<testing::Console>;

// Everything an action can change, as text: two consoles that show the
// same text are in the same state.
QString stateOf(const testing::Console &c)
{
    auto shown = [&](const char *name) { return QString(c.get(name)->isVisibleTo(c.kata.get()) ? "+" : "-"); };
    const decision::DecisionPanel &decision = c.kata->decision();
    QStringList state{QString::number(decision.refereeCount()), QString::number(decision.counts().red), QString::number(decision.counts().blue), c.clock()};
    state << (c.running() ? "running" : "still") << shown("Command4") + shown("Command5") << QString::number(c.kata->outerHeight());
    for (const char *field : {"Text1", "Text6", "Text5"})
        state << c.text(field);
    state << c.bout() << (c.kata->boutsWindow() && c.kata->boutsWindow()->isVisible() ? "bouts open" : "");
    if (const scoreboard::Kabord *board = c.board())
        state << (board->isVisible() ? "open" : "hidden") << board->redCount()->text() << board->blueCount()->text() << board->label(4)->text()
              << (board->element("Frame1")->isHidden() ? "hidden" : "shown");
    return state.join(u'|');
}

// A match under way: the scoreboard open, red 2 against blue 3, a field
// number typed but not yet sent. `target` picks a match in which its
// action changes something.
Match matchUnderWay(std::string_view target = {})
{
    auto c = std::make_unique<testing::Console>(nullptr, false);
    QApplication::setActiveWindow(c->kata.get()); // the keys reach an active window only
    if (!QTest::qWaitForWindowActive(c->kata.get()))
        qFatal("the console did not become active");
    // The bout list's keys act on a list: loaded (the file the dialog gives),
    // and for going back, a bout further on.
    if (target == "nextbout" || target == "prevbout")
        c->loadBoutList();
    if (target == "loadbouts")
        c->fake.files.answers.append(c->writeBoutList());
    if (target == "prevbout") {
        c->fake.messages.answers.append(true); // on without a result
        c->click("nextbout");
    }
    c->click("command1");
    if (target == "Options5")
        c->click("Options3");
    c->click(target == "Optionr2" || target == "Optionb3" ? "Optionr1" : "Optionr2");
    c->setText("Text5", QStringLiteral("12"));
    return c;
}

void press(const Match &c, const char *keys, const char *focus = "Text5")
{
    QWidget *field = c->get(focus);
    field->setFocus();
    const QKeyCombination combination = QKeySequence(QLatin1String(keys), QKeySequence::PortableText)[0];
    QTest::keyClick(field, combination.key(), combination.keyboardModifiers());
}

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    void everyKeyDoesWhatItsClickDoes_data()
    {
        QTest::addColumn<int>("binding");
        QTest::addColumn<QString>("focus");
        for (int i = 0; i < int(console::keyBindings().size()); ++i)
            for (const char *focus : {"Text1", "Text6", "Text5", "Optionb1"})
                QTest::addRow("%s in %s", console::keyBindings()[std::size_t(i)].keys.data(), focus) << i << focus;
    }
    void everyKeyDoesWhatItsClickDoes()
    {
        QFETCH(int, binding);
        QFETCH(QString, focus);
        const console::KeyBinding &key = console::keyBindings()[std::size_t(binding)];

        Match clicked = matchUnderWay(key.target);
        std::string target(key.target);
        if (key.target == console::kStartOrStop)
            target = clicked->get("Command4")->isVisible() ? "Command4" : "Command5";
        clicked->click(target.c_str());
        const QString expected = stateOf(*clicked);
        clicked.reset();

        Match pressed = matchUnderWay(key.target);
        const QString before = stateOf(*pressed);
        press(pressed, key.keys.data(), qPrintable(focus));
        QCOMPARE(stateOf(*pressed), expected);
        QVERIFY2(expected != before, "the key's action changes nothing here: a test that proves nothing");
        QCOMPARE(pressed->fake.messages.shown.size(), 0);
    }

    // Each flag key chooses its own button; refusals hold for keys too: a
    // hidden button, a clock at 0:00.
    void keysRespectWhatTheConsoleRefuses()
    {
        Match c = matchUnderWay();
        for (int k = 1; k <= 5; ++k) { // each flag key chooses its own number
            press(c, qPrintable(QStringLiteral("Ctrl+%1").arg(k)));
            QCOMPARE(c->kata->decision().counts().red, k);
            press(c, qPrintable(QStringLiteral("Alt+%1").arg(k)));
            QCOMPARE(c->kata->decision().counts().blue, k);
        }
        press(c, "Ctrl+F3");
        const QString threeReferees = stateOf(*c);
        for (const char *keys : {"Ctrl+4", "Ctrl+5", "Alt+4", "Alt+5"})
            press(c, keys);
        QCOMPARE(stateOf(*c), threeReferees);

        c->setText("Text1", QStringLiteral("0"));
        c->setText("Text6", QStringLiteral("00"));
        press(c, "Ctrl+T");
        const QString atZero = stateOf(*c);
        press(c, "PgDown");
        QCOMPARE(stateOf(*c), atZero);

        // Page Down starts and stops by turns; held down (a foot switch kept
        // pressed), it acts once, not at the keyboard's repeat rate.
        c->setText("Text1", QStringLiteral("1"));
        press(c, "Ctrl+T");
        press(c, "PgDown");
        QVERIFY(c->running());
        for (int repeat = 0; repeat < 3; ++repeat)
            QTest::simulateEvent(c->get("Text5"), true, Qt::Key_PageDown, {}, QString(), true);
        QVERIFY(c->running());
        press(c, "PgDown");
        QVERIFY(!c->running());
        // A remote's slideshow key (F5) chooses nothing.
        press(c, "F5");
        QCOMPARE(c->kata->decision().refereeCount(), 3);
    }

    // Digits typed into a field stay there and run no action.
    void typedDigitsStayInTheFields()
    {
        Match c = matchUnderWay();
        for (const char *field : {"Text1", "Text6", "Text5"}) {
            const QString typed = field == std::string_view("Text1") ? QStringLiteral("3") : QStringLiteral("12345");
            c->setText(field, QString());
            const QString before = stateOf(*c);
            c->get(field)->setFocus();
            c->type(field, typed);
            QCOMPARE(c->text(field), typed);
            c->setText(field, QString());
            QCOMPARE(stateOf(*c), before);
        }
    }
};

QTEST_MAIN(KeysTest)
#include "tst_keys.moc"
