// The console's keys: each does what the click on its control does, with
// the focus anywhere on the console, and none takes a typed digit.
#include "console/console.h"
#include "console/keys.h"
#include "decision/decisionpanel.h"
#include "scoreboard/kabord.h"
#include "scoreboard/scoreboard.h"
#include "support/fakeplatform.h"
#include "ui/design.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

// Everything an action can change, as text: two consoles that show the
// same text are in the same state.
QString stateOf(const console::Kata &kata)
{
    auto text = [&](const char *name) { return ui::named<QLineEdit>(kata.client(), name)->text(); };
    auto label = [&](const char *name) { return ui::named<QLabel>(kata.client(), name)->text(); };
    auto shown = [&](const char *name) { return ui::named(kata.client(), name)->isVisibleTo(&kata) ? "+" : "-"; };
    const decision::FlagCounts counts = kata.decision().counts();
    QString state = QStringLiteral("referees %1 red %2 blue %3 | clock %4:%5%6 %7 start%8 stop%9 | height %10 | ")
                        .arg(kata.decision().refereeCount())
                        .arg(counts.red)
                        .arg(counts.blue)
                        .arg(label("Label1"), label("Label2"), label("Label3"))
                        .arg(kata.findChild<QTimer *>(QStringLiteral("Timer1"))->isActive() ? "running" : "still")
                        .arg(shown("Command4"), shown("Command5"))
                        .arg(kata.outerHeight());
    state += text("Text1") + '/' + text("Text6") + '/' + text("Text5") + " | ";
    if (const scoreboard::Kabord *board = kata.scoreboard().current()) {
        state += QStringLiteral("board %1 %2-%3 field %4 clock %5")
                     .arg(board->isVisible() ? "open" : "hidden", board->redCount()->text(),
                          board->blueCount()->text(), board->label(4)->text(),
                          board->element("Frame1")->isHidden() ? "hidden" : "shown");
    } else {
        state += QStringLiteral("no board");
    }
    return state;
}

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

private:
    testing::FakePlatform m_fake;

    // `target` picks a match in which its action changes something.
    std::unique_ptr<console::Kata> makeConsole(std::string_view target = {})
    {
        auto kata = std::make_unique<console::Kata>(m_fake.platform());
        kata->show();
        QApplication::setActiveWindow(kata.get());
        if (!QTest::qWaitForWindowActive(kata.get()))
            qFatal("the console did not become active");
        // A match under way: the scoreboard open, red 2 against blue 3,
        // a field number typed but not yet sent.
        ui::named<QAbstractButton>(kata->client(), "command1")->click();
        if (target == "Options5")
            ui::named<QAbstractButton>(kata->client(), "Options3")->click();
        const bool redTwoIsTheTarget = target == "Optionr2" || target == "Optionb3";
        ui::named<QAbstractButton>(kata->client(), redTwoIsTheTarget ? "Optionr1" : "Optionr2")->click();
        ui::named<QLineEdit>(kata->client(), "Text5")->setText(QStringLiteral("12"));
        return kata;
    }
    // What the operator's click on the key's control (or menu entry) does.
    static void clickTarget(console::Kata &kata, std::string_view target)
    {
        if (target == console::kStartOrStop)
            target = ui::named(kata.client(), "Command4")->isVisible() ? "Command4" : "Command5";
        if (auto *entry = kata.findChild<QAction *>(ui::qs(target))) {
            entry->trigger();
            return;
        }
        auto *button = ui::named<QAbstractButton>(kata.client(), target);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    static void press(QWidget *focus, const QKeySequence &keys)
    {
        const QKeyCombination combination = keys[0];
        QTest::keyClick(focus, combination.key(), combination.keyboardModifiers());
    }

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

        auto clicked = makeConsole(key.target);
        clickTarget(*clicked, key.target);
        const QString expected = stateOf(*clicked);
        clicked.reset();

        auto pressed = makeConsole(key.target);
        const QString before = stateOf(*pressed);
        QWidget *field = pressed->findChild<QWidget *>(focus);
        field->setFocus();
        press(field, QKeySequence(ui::qs(key.keys), QKeySequence::PortableText));
        QCOMPARE(stateOf(*pressed), expected);
        QVERIFY2(expected != before, "the key's action changes nothing here: a test that proves nothing");
        QCOMPARE(m_fake.messages.shown.size(), 0);
    }

    // Refusals hold for keys too: a hidden button, a clock at 0:00.
    void keysRespectWhatTheConsoleRefuses()
    {
        auto kata = makeConsole();
        QWidget *elsewhere = ui::named(kata->client(), "Text5");
        elsewhere->setFocus();
        press(elsewhere, QKeySequence(QStringLiteral("Ctrl+F3")));
        const QString threeReferees = stateOf(*kata);
        for (const char *keys : {"Ctrl+4", "Ctrl+5", "Alt+4", "Alt+5"})
            press(elsewhere, QKeySequence(QLatin1String(keys)));
        QCOMPARE(stateOf(*kata), threeReferees);

        ui::named<QLineEdit>(kata->client(), "Text1")->setText(QStringLiteral("0"));
        ui::named<QLineEdit>(kata->client(), "Text6")->setText(QStringLiteral("00"));
        press(elsewhere, QKeySequence(QStringLiteral("Ctrl+T")));
        const QString atZero = stateOf(*kata);
        press(elsewhere, QKeySequence(QStringLiteral("PgDown")));
        QCOMPARE(stateOf(*kata), atZero);

        // Page Down starts and stops by turns; held down (a foot switch kept
        // pressed), it acts once, not at the keyboard's repeat rate.
        ui::named<QLineEdit>(kata->client(), "Text1")->setText(QStringLiteral("1"));
        press(elsewhere, QKeySequence(QStringLiteral("Ctrl+T")));
        auto *timer = kata->findChild<QTimer *>(QStringLiteral("Timer1"));
        press(elsewhere, QKeySequence(QStringLiteral("PgDown")));
        QVERIFY(timer->isActive());
        for (int repeat = 0; repeat < 3; ++repeat)
            QTest::simulateEvent(elsewhere, true, Qt::Key_PageDown, {}, QString(), true);
        QVERIFY(timer->isActive());
        press(elsewhere, QKeySequence(QStringLiteral("PgDown")));
        QVERIFY(!timer->isActive());
        // A remote's slideshow key (F5) chooses nothing.
        press(elsewhere, QKeySequence(QStringLiteral("F5")));
        QCOMPARE(kata->decision().refereeCount(), 3);
    }

    void typedDigitsStayInTheFields_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("minutes") << "Text1" << "3" << "3";
        QTest::newRow("seconds") << "Text6" << "12345" << "12345";
        QTest::newRow("field number") << "Text5" << "12345" << "12345";
    }
    void typedDigitsStayInTheFields()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        auto kata = makeConsole();
        auto *edit = kata->findChild<QLineEdit *>(field);
        edit->clear();
        const QString before = stateOf(*kata);
        edit->setFocus();
        for (QChar digit : typed)
            QTest::keyClick(edit, digit.toLatin1());
        QCOMPARE(edit->text(), kept);
        edit->clear();
        QCOMPARE(stateOf(*kata), before);
    }

    // Menu entries show their keys; their captions stay as they are.
    void menuShowsTheKeys()
    {
        auto kata = makeConsole();
        const std::pair<const char *, const char *> entries[] = {{"startext", "F11"},  {"closeext", "F12"},
                                                                 {"resmatch", "Ctrl+R"}, {"restime", "Ctrl+T"}};
        for (const auto &[name, keys] : entries) {
            auto *entry = kata->findChild<QAction *>(QLatin1String(name));
            QCOMPARE(entry->shortcut().toString(QKeySequence::PortableText), QLatin1String(keys));
            QVERIFY(!entry->text().contains('\t') && !entry->text().contains('&'));
        }
        QCOMPARE(kata->findChild<QAction *>(QStringLiteral("startext"))->text(),
                 QStringLiteral("Start external scoreboard"));
    }
};

QTEST_MAIN(KeysTest)
#include "tst_keys.moc"
