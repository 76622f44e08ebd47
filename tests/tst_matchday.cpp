// A long competition day: a display that goes away, bad input in every
// field, absurd and zero scale values, a day's bouts from a list, recorded
// and restored. Runs on a desktop of two displays.
#include "board/publicboard.h"
#include "competition/boutsdesign.h"
#include "competition/competition.h"
#include "decision/decisionpanel.h"
#include "support/console.h"
#include "support/screens.h"
#include "timer/matchclock.h"
#include "ui/twips.h"

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>

class MatchDayTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;

private slots:
    void init() { c = std::make_unique<testing::Console>(); }
    void cleanup() { c.reset(); }

    // The display of the scoreboard, or of the console, goes away: the
    // scoreboard closes, the console stays usable, nothing else changes.
    void aLostDisplayClosesTheScoreboard()
    {
        QScreen *hall = QGuiApplication::screens().at(1); // "b-hall"
        QScreen *main = QGuiApplication::primaryScreen();
        c->click("Optionr3");
        c->click("Command4");
        for (QScreen *gone : {hall, main}) {
            c->click("command1");
            QCOMPARE(c->board()->screen(), hall);
            c->fake.displays.remove(gone);
            QVERIFY(!c->board());
            QVERIFY(c->kata->isVisible());
            QVERIFY(c->running());
            QCOMPARE(c->kata->decision().counts(), (decision::FlagCounts{3, 2}));
            // The next tick opens no scoreboard, also when the display
            // comes back, until the operator opens it.
            c->elapse();
            c->fake.displays.bringBack(gone);
            QVERIFY(!c->board());
        }
        c->click("command1");
        QCOMPARE(c->board()->geometry(), hall->geometry());
    }

    // A day from a bout list: the names on the console and every board,
    // each decision recorded as the operator moves on, going back, a bout
    // without flags only when the operator says so, a faulty list refused,
    // and after a restart the day where it was.
    void aDayOfBouts()
    {
        // Installed where the program's folder takes no files: kata.ini and the results go to the user's folder, not made yet.
        c->fake.programWritable = false;
        c->restart();
        c->kata->setOuterHeight(7800); // every control in view
        const QString results = QDir(c->fake.userFolder()).filePath(QLatin1String(competition::kResultsFileName));
        const QStringList none{"", "", "", "", ""};
        QCOMPARE(c->bout(), none); // no list: nothing shown, nothing on disk
        QVERIFY(!c->kata->findChild<QAction *>("nextbout")->isEnabled() && !c->kata->findChild<QAction *>("prevbout")->isEnabled());
        c->click("command1");
        c->click("Optionr2"); // flags chosen before: not the first bout's
        c->loadBoutList();
        QCOMPARE(c->kata->decision().counts(), (decision::FlagCounts{0, 0}));
        QTRY_VERIFY(QFileInfo::exists(results));
        const QStringList first{"Kata U14 · semi-final · Bout 1", "Anna Keller", "KC Bern", "Mia Rossi", "Budo Basel"};
        QCOMPARE(c->bout(), first);
        const auto onBoard = [&] {
            QStringList shown;
            for (const char *name : {"boutLine", "redName", "redClub", "blueName", "blueClub"}) {
                const auto *label = c->board()->findChild<ui::FittedLabel *>(QLatin1String(name));
                shown << (label->isVisible() ? label->text() : QStringLiteral("(hidden)"));
            }
            return shown;
        };
        QCOMPARE(onBoard(), first);
        c->click("Check10"); // mirrored, the names keep to their sides
        QCOMPARE(c->get("redName")->x(), c->get("blueClub")->x() + ui::px(4215 - 240));
        c->click("Check10");

        c->click("Optionr2");
        c->click("prevbout"); // nothing before the first: nothing changes
        QCOMPARE(c->kata->decision().counts(), (decision::FlagCounts{2, 3}));
        c->click("command3");
        c->click("nextbout"); // no flags: asked, and "No" stays
        QCOMPARE(c->fake.messages.asked.size(), 1);
        QCOMPARE(c->bout(), first);
        c->click("Optionr3"); // 3 : 2 for Aka
        c->click("nextbout");
        QCOMPARE(c->bout(), (QStringList{"Kata U14 · semi-final · Bout 2", "Lea Wyss", "", "Sara Frei", "Dojo Thun"}));
        QCOMPARE(c->kata->decision().counts(), (decision::FlagCounts{0, 0})); // a new match
        QCOMPARE(c->board()->redCount()->text(), QStringLiteral("0"));
        c->click("prevbout"); // back, nothing recorded
        QCOMPARE(c->bout(), first);
        c->fake.messages.answers = {true};
        c->click("nextbout"); // on without a result: bout 1 keeps its own
        c->click("Optionb4");
        c->click("nextbout"); // 1 : 4 for Ao
        const QStringList final{"Kata U14 · final · Bout 3", "Anna Keller", "KC Bern", "Sara Frei", "Dojo Thun"};
        QCOMPARE(c->bout(), final);
        QCOMPARE(onBoard(), final);
        QCOMPARE(c->kata->competition().decisions().size(), std::size_t(2));
        const competition::Decision &second = c->kata->competition().decisions().back();
        QCOMPARE(second.result.winner, competition::Winner::Blue);
        QCOMPARE(std::tuple(second.referees, second.redFlags, second.blueFlags, second.result.blue.name), std::tuple(5, 1, 4, std::string("Sara Frei")));

        // A faulty list loads nothing; a new one with results recorded is asked for first.
        c->loadBoutList("category,bout,aka,ao\nKata U14,1,W 2,Tom\n");
        QCOMPARE(c->fake.messages.shown.size(), 1);
        QVERIFY2(c->fake.messages.shown.last().text.contains("Line 2"), qPrintable(c->fake.messages.shown.last().text));
        c->loadBoutList();
        QCOMPARE(c->fake.messages.asked.size(), 3);
        QCOMPARE(c->bout(), final);

        c->restart();      // as after a power cut: the list, the bout, the results
        c->loadBoutList(); // at once, while the file is read: asked once what is recorded is known
        QTRY_COMPARE(c->fake.messages.asked.size(), 4);
        QTRY_COMPARE(c->bout(), final);
        QCOMPARE(c->kata->competition().decisions().size(), std::size_t(2));
        QCOMPARE(c->kata->publicBoard().state().performers.redName, std::string("Anna Keller"));
        c->click("Optionr3");
        c->click("nextbout");
        QCOMPARE(c->bout(), (QStringList{"Kata U21 · final · Bout 1", "Jérôme Łukasiewicz", "Karate Club Lyon", "山田 太郎", "Shotokan Osaka"}));
        c->click("Optionr3");
        c->click("nextbout"); // the last: nothing more to come
        QCOMPARE(c->bout(), none);
        QVERIFY(!c->kata->findChild<QAction *>("nextbout")->isEnabled());
        QCOMPARE(c->kata->competition().decisions().size(), std::size_t(4));
        c->click("prevbout"); // back to the last, to decide it again
        QCOMPARE(c->bout().value(3), QStringLiteral("山田 太郎"));
        QCOMPARE(c->kata->competition().decisions().back().field, 1); // the number the boards show

        // The results for the organiser's spreadsheet: every bout as decided, the placings after.
        const QString exported = QDir(c->fake.dir.path()).filePath(QStringLiteral("Ergebnisse – 山田.csv"));
        c->fake.files.answers.append(exported);
        c->click("exportres");
        QFile file(exported);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.value(0),
                 QByteArray("\xEF\xBB\xBF"
                            "category,round,bout,aka,aka_club,ao,ao_club,aka_flags,ao_flags,winner,state,recorded_at\r"));
        QVERIFY2(lines.value(3).startsWith("Kata U14,final,3,Anna Keller,KC Bern,Sara Frei,Dojo Thun,3,2,aka,decided,20"), lines.value(3));
        QCOMPARE(lines.mid(6),
                 (QList<QByteArray>{"category,place,name,club\r", "Kata U14,1,Anna Keller,KC Bern\r", "Kata U14,2,Sara Frei,Dojo Thun\r",
                                    "Kata U21,1,Jérôme Łukasiewicz,Karate Club Lyon\r", "Kata U21,2,山田 太郎,Shotokan Osaka\r", ""}));

        // The results sheet to print: written, shown in the system's viewer, every name in its text.
        const QString sheet = QDir(c->fake.dir.path()).filePath(QStringLiteral("Ergebnisse – 山田.pdf"));
        c->fake.files.answers.append(sheet);
        c->click("resultspdf");
        QCOMPARE(c->fake.files.shown, QStringList{sheet});
        QFile pdf(sheet);
        QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), sheet, QStringLiteral("-")});
        if (!text.waitForFinished(20000) || text.exitCode() != 0)
            QSKIP("pdftotext (Debian: poppler-utils) cannot read the sheet here");
        const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
        for (const char *expected :
             {"Results", "Kata U14", "semi-final", "Anna Keller KC Bern", "Mia Rossi", "Aka 3–2", "Ao 4–1", "3 final Anna Keller Sara Frei Aka 3–2",
              "Placings 1. Anna Keller KC Bern 2. Sara Frei Dojo Thun", "Kata U21", "Jérôme Łukasiewicz", "山田 太郎", "Shotokan Osaka"})
            QVERIFY2(page.contains(QString::fromUtf8(expected)), qPrintable(QString::fromUtf8(expected) + QStringLiteral(" not in: ") + page));
    }

    // The "Bouts..." window: every bout with its state and result, the
    // current one marked; a name found as it is typed and its bout made
    // current, the next bout from the window, a result corrected (the final
    // performed before is marked, the history stays), one taken back (the
    // final's names follow), and after a restart the same.
    void theBoutsWindow()
    {
        using namespace competition;
        c->loadBoutList();
        c->click("bouts");
        QWidget *window = c->kata->boutsWindow();
        QVERIFY(window && window->isVisible());
        auto *tree = ui::named<QTreeWidget>(window, "boutTree");
        const auto rows = [&] {
            QStringList shown;
            for (int g = 0; g < tree->topLevelItemCount(); ++g)
                for (int b = 0; b < tree->topLevelItem(g)->childCount(); ++b)
                    if (const QTreeWidgetItem *item = tree->topLevelItem(g)->child(b); !item->isHidden())
                        shown << QStringList{tree->topLevelItem(g)->text(0) + ' ' + item->text(ColumnBout), item->text(ColumnAka), item->text(ColumnAo),
                                             item->text(ColumnState), item->text(ColumnResult)}
                                     .join(u'|');
            return shown;
        };
        const auto select = [&](int group, int bout) { tree->setCurrentItem(tree->topLevelItem(group)->child(bout)); };
        const auto press = [&](const char *button) {
            QWidget *widget = ui::named(window, button);
            QVERIFY2(widget->isEnabled(), button);
            QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
        };
        QCOMPARE(rows(),
                 (QStringList{"Kata U14 1|Anna Keller|Mia Rossi|current|", "Kata U14 2|Lea Wyss|Sara Frei|to come|",
                              "Kata U14 3|Winner of bout 1|Winner of bout 2|to come|", "Kata U21 1|Jérôme Łukasiewicz|山田 太郎|to come|"}));
        QVERIFY(tree->topLevelItem(0)->child(0)->font(ColumnAka).bold() && !tree->topLevelItem(0)->child(1)->font(ColumnAka).bold());
        select(0, 2); // the final waits for its performers: not to be made current
        QVERIFY(!ui::named(window, "chooseBout")->isEnabled() && !ui::named(window, "correctBout")->isEnabled());

        QTest::keyClicks(ui::named(window, "findText"), "SARA");
        QCOMPARE(rows(), QStringList{"Kata U14 2|Lea Wyss|Sara Frei|to come|"});
        c->click("Optionr2");
        c->fake.messages.answers = {false, true};
        press("chooseBout"); // flags chosen for bout 1: asked, and "No" stays
        QCOMPARE(c->bout().value(1), QStringLiteral("Anna Keller"));
        QTest::keyClick(ui::named(window, "findText"), Qt::Key_Return); // Enter: the bout found
        QCOMPARE(c->bout(), (QStringList{"Kata U14 · semi-final · Bout 2", "Lea Wyss", "", "Sara Frei", "Dojo Thun"}));
        QCOMPARE(c->kata->decision().counts(), (decision::FlagCounts{0, 0}));
        ui::named<QLineEdit>(window, "findText")->clear();
        c->click("Optionb3");
        press("nextBout"); // Ao 3 : 0; the final waits for bout 1: on to the next category
        QCOMPARE(c->bout().value(1), QStringLiteral("Jérôme Łukasiewicz"));
        for (const char *flags : {"Optionr3", "Optionr3", "Optionr4"}) { // U21, then bout 1 passed before, the final
            c->click(flags);
            press("nextBout");
        }
        QCOMPARE(rows(),
                 (QStringList{"Kata U14 1|Anna Keller|Mia Rossi|decided|Aka 3–2", "Kata U14 2|Lea Wyss|Sara Frei|decided|Ao 3–2",
                              "Kata U14 3|Anna Keller|Sara Frei|decided|Aka 4–1", "Kata U21 1|Jérôme Łukasiewicz|山田 太郎|decided|Aka 3–2"}));
        QVERIFY(!ui::named(window, "nextBout")->isEnabled()); // nothing more to come

        select(0, 1); // performing a decided bout again replaces its result: asked first
        c->fake.messages.answers = {false};
        press("chooseBout");
        QVERIFY2(c->fake.messages.asked.last().contains("Bout 2 of Kata U14 is decided (Ao 3–2)"), qPrintable(c->fake.messages.asked.last()));
        QCOMPARE(c->bout(), (QStringList{"", "", "", "", ""}));

        // Bout 1 was Mia Rossi's: corrected, the final already performed is marked.
        select(0, 0);
        auto *aka = ui::named<QComboBox>(window, "correctAka"), *ao = ui::named<QComboBox>(window, "correctAo");
        QCOMPARE(aka->currentText() + ao->currentText(), QStringLiteral("32"));
        aka->setCurrentIndex(1);
        emit aka->activated(1); // the other side: the rest of the five flags
        QCOMPARE(ao->currentText(), QStringLiteral("4"));
        c->fake.messages.answers = {true};
        press("correctBout");
        QVERIFY2(c->fake.messages.asked.last().contains("Kata U14, bout 1 to Ao 4–1"), qPrintable(c->fake.messages.asked.last()));
        QCOMPARE(rows().mid(0, 3),
                 (QStringList{"Kata U14 1|Anna Keller|Mia Rossi|decided|Ao 4–1", "Kata U14 2|Lea Wyss|Sara Frei|decided|Ao 3–2",
                              "Kata U14 3|Anna Keller|Sara Frei|decided, check|Aka 4–1"}));
        aka->setCurrentIndex(2); // flags that are not the five referees': no decision
        ao->setCurrentIndex(2);
        press("correctBout");
        QCOMPARE(c->fake.messages.shown.size(), 1);
        // The final taken back: to come again, between the winners the draw now names; a name looked for shows
        // where it is filled in.
        ui::named<QLineEdit>(window, "findText")->setText(QStringLiteral("mia"));
        QCOMPARE(rows().size(), 1);
        select(0, 2);
        QVERIFY(c->kata->competition().correct({"Kata U14", 3}, 0, 0));
        QCOMPARE(rows(), (QStringList{"Kata U14 1|Anna Keller|Mia Rossi|decided|Ao 4–1", "Kata U14 3|Mia Rossi|Sara Frei|to come|"}));
        ui::named<QLineEdit>(window, "findText")->clear();
        press("chooseBout");
        QCOMPARE(c->bout(), (QStringList{"Kata U14 · final · Bout 3", "Mia Rossi", "Budo Basel", "Sara Frei", "Dojo Thun"}));
        const std::vector<Decision> &history = c->kata->competition().decisions();
        QCOMPARE(history.size(), std::size_t(6)); // every decision kept, the corrections after
        QCOMPARE(std::tuple(history[2].result.winner, history[4].result.winner, history[4].result.red.name, history[5].result.winner),
                 std::tuple(Winner::Red, Winner::Blue, std::string("Anna Keller"), Winner::None));

        const QStringList before = rows();
        c->restart();
        QTRY_VERIFY(!c->kata->competition().restoring());
        c->click("bouts");
        tree = ui::named<QTreeWidget>(c->kata->boutsWindow(), "boutTree");
        QCOMPARE(rows(), before);
        QCOMPARE(c->bout().value(1), QStringLiteral("Mia Rossi"));
        // A new list while a name is looked for: the window shows it, the results recorded for its bouts.
        QTest::keyClicks(ui::named(c->kata->boutsWindow(), "findText"), "mia");
        c->fake.messages.answers = {true};
        c->loadBoutList("category,bout,aka,aka_club,ao,ao_club\nKata U14,1,Anna Keller,KC Bern,Mia Rossi,Budo Basel\nKata U14,2,Mia Rossi,,Lea Wyss,\n");
        QCOMPARE(rows(), QStringList{"Kata U14 1|Anna Keller|Mia Rossi|decided|Ao 4–1"});
        QWidget *again = c->kata->boutsWindow(); // the bout found is chosen, its decision's flags ready for a correction
        QCOMPARE(ui::named<QComboBox>(again, "correctAka")->currentText() + ui::named<QComboBox>(again, "correctAo")->currentText(), QStringLiteral("14"));
        QVERIFY(ui::named(again, "correctBout")->isEnabled());
        ui::named<QLineEdit>(c->kata->boutsWindow(), "findText")->clear(); // bout 2 keeps who performed it
        QCOMPARE(rows().value(1), QStringLiteral("Kata U14 2|Lea Wyss|Sara Frei|decided, check|Ao 3–2"));
    }

    // The results file held by another program (a spreadsheet has it open):
    // the console goes on and says so in the bout's line; closing asks while
    // a decision waits; once the file is free again it is written.
    void aResultsFileHeldElsewhere()
    {
        c->loadBoutList();
        const QString path = QDir(c->fake.dir.path()).filePath(QLatin1String(competition::kResultsFileName));
        QTRY_VERIFY(QFileInfo::exists(path));
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        const auto removeOther = qScopeGuard([&] {
            other.close();
            other = {};
            QSqlDatabase::removeDatabase(QStringLiteral("other"));
        });
        other.setDatabaseName(path);
        QVERIFY(other.open());
        QTRY_VERIFY([&] {
            QSqlQuery n(other);
            return n.exec("SELECT count(*) FROM bouts") && n.next() && n.value(0).toInt() == 4;
        }()); // the list written
        QVERIFY(QSqlQuery(other).exec("BEGIN EXCLUSIVE"));
        c->click("Optionr3");
        QElapsedTimer took;
        took.start();
        c->click("nextbout"); // the console goes on at once, never waiting for the file
        QVERIFY2(took.elapsed() < 500, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(c->bout().value(1), QStringLiteral("Lea Wyss"));
        const auto *line = c->get<ui::FittedLabel>("boutLine");
        QTRY_VERIFY_WITH_TIMEOUT(line->text().contains("in use by another program"), 10000);
        QCOMPARE(line->textColour(), QColor(Qt::red));
        c->click("command14"); // Close: asked, and "No" keeps the console
        QCOMPARE(c->fake.messages.asked.size(), 1);
        QVERIFY2(c->fake.messages.asked.last().startsWith("1 decision is not yet written"), qPrintable(c->fake.messages.asked.last()));
        QVERIFY(c->kata->isVisible());
        QVERIFY(QSqlQuery(other).exec("COMMIT"));
        QTRY_COMPARE_WITH_TIMEOUT(line->text(), QStringLiteral("Kata U14 · semi-final · Bout 2"), 10000);
        QCOMPARE(line->textColour(), QColor(Qt::black));
        QSqlQuery recorded(other);
        QVERIFY(recorded.exec("SELECT aka_name || ' ' || winner FROM decisions") && recorded.next());
        QCOMPARE(recorded.value(0).toString(), QStringLiteral("Anna Keller aka"));
        c->click("command14"); // nothing waits: closed without a word
        QCOMPARE(c->fake.messages.asked.size(), 1);
        QVERIFY(!c->kata->isVisible());
    }

    // Every field takes a huge paste, control characters, right-to-left text
    // and broken UTF-16; every action answers at once, and the saved file
    // holds what the fields held.
    void badInputInEveryField()
    {
        const std::pair<const char *, QString> rows[] = {
            {"100,000 characters", QString(100000, u'7')},
            {"control characters", QString::fromUtf16(u"a\u0001\u0007\t\u001b\u007f\u0085b")},
            {"right to left", QString::fromUtf16(u"\u202e\u05e9\u05dc\u05d5\u05dd 12 \u0645\u0631\u062d\u0628\u0627")},
            {"lone surrogates", QStringView(u"x\xD800y\xDC00").toString()}}; // a high one, then a low one
        for (const auto &[kind, input] : rows) {
            const auto row = testing::naming(kind);
            c = std::make_unique<testing::Console>();
            QElapsedTimer clock;
            // Well within a second even on a busy machine; text handled in
            // time growing faster than its length would take many seconds.
            auto quick = [&](const char *what) { QVERIFY2(clock.elapsed() < 500, qPrintable(QStringLiteral("%1: %2 ms").arg(what).arg(clock.elapsed()))); };
            QGuiApplication::clipboard()->setText(input);
            for (const char *name : {"Text1", "Text6", "Text5", "eindwav", "waarwav", "hsch", "vsch", "fsch", "sbtxt", "shtxt"}) {
                auto *field = c->get<QLineEdit>(name);
                clock.start();
                field->selectAll();
                field->paste();              // as the context menu pastes: past the key filter
                if (field->text().isEmpty()) // hidden fields take no paste
                    field->setText(input);
                QApplication::processEvents();
                quick(name);
            }
            clock.start();
            c->click("command12");
            c->click("command1"); // the scales read as numbers, some as 0
            quick("opening");
            c->fake.messages.shown.clear();
            clock.start();
            c->click("command6");
            c->click("Command4");
            c->elapse();
            c->click("command3");
            QApplication::processEvents();
            quick("clock");

            clock.start();
            c->click("MyButton7");
            quick("saving");
            QCOMPARE(c->fake.messages.shown.size(), 1);
            QCOMPARE(c->fake.messages.shown.first().text, QStringLiteral("Ini-file saved"));

            // Lines 1 to 5 hold the fields' texts; a character the file's
            // encoding cannot hold comes back as a replacement character.
            // (UTF-8 after a byte-order mark where the system's 8-bit encoding cannot hold them, on Windows.)
            const QByteArray bytes = testing::readFile(c->fake.settingsPath());
            const bool utf8 = bytes.startsWith("\xEF\xBB\xBF");
            const QList<QByteArray> lines = bytes.mid(utf8 ? 3 : 0).split('\n');
            QCOMPARE(lines.size(), 8);
            int line = 0;
            for (const char *name : {"eindwav", "waarwav", "hsch", "vsch", "fsch"}) {
                const QString held = c->get<QLineEdit>(name)->text();
                const QByteArray saved = lines[line++].chopped(1);
                const QString back = utf8 ? QString::fromUtf8(saved) : QString::fromLocal8Bit(saved);
                QCOMPARE(back.size(), held.size());
                for (qsizetype i = 0; i < held.size(); ++i)
                    if (back[i] != held[i])
                        QVERIFY2(held[i].isSurrogate() && (back[i] == QChar::ReplacementCharacter || back[i] == u'?'),
                                 qPrintable(QStringLiteral("%1, character %2").arg(QLatin1String(name)).arg(i)));
            }
            // The next start reads the sound files back as they were saved.
            const QString warning = c->text("waarwav");
            c->restart();
            QCOMPARE(c->text("waarwav").size(), warning.size());
        }
    }

    // Absurd scale values open a scoreboard, too big or too small, as fast as the design's own scales do (on a slow
    // or busy machine both are slower). A scale that reads as 0 in any field ("inf", "nan", a fraction too small for a
    // double) is refused: the open scoreboard is discarded first, and none opens.
    void absurdAndZeroScales()
    {
        const auto all = [](const QString &scale) { return QStringList{scale, scale, scale}; };
        // Each value that opens a scoreboard (the design's own first: the time to beat), then scales refused.
        const QString opening[] = {"1", "1e-300", "1e300", "0.0001", "1000000", QString(400, u'9'), "0." + QString(320, u'0') + "1"};
        const QStringList refused[] = {
            {"0.0", "1", "1"}, {"1", "", "1"}, {"1", "1", "x1"}, {"-2", "1", "1"}, all("inf"), all("nan"), all("0." + QString(400, u'0') + "1")};
        qint64 usual = 0;
        for (int i = 0; i < 14; ++i) {
            const bool zero = i % 2;
            const QStringList scales = zero ? refused[i / 2] : all(opening[i / 2]);
            const auto row = testing::naming(scales.join(u' ').left(40));
            c->setText("hsch", scales[0]);
            c->setText("vsch", scales[1]);
            c->setText("fsch", scales[2]);
            const QString width = c->text("sbtxt");
            QElapsedTimer clock;
            clock.start();
            c->click("command1");
            QApplication::processEvents();
            const QImage picture = c->board() ? c->board()->grab().toImage() : QImage();
            if (i == 0)
                usual = clock.elapsed();
            QVERIFY2(clock.elapsed() < 100 + 3 * usual, qPrintable(QStringLiteral("%1 ms, at scale 1: %2 ms").arg(clock.elapsed()).arg(usual)));
            if (zero) {
                QCOMPARE(c->fake.messages.shown, (QList<testing::ShownMessage>{{platform::MessageIcon::Warning, "Scale can not be zero in setup parameters"}}));
                QVERIFY(!c->board());
                QCOMPARE(c->text("sbtxt"), width);
            } else {
                QVERIFY(c->fake.messages.shown.isEmpty());
                QVERIFY(!picture.isNull());
            }
            c->fake.messages.shown.clear();
        }
    }
};

int main(int argc, char *argv[])
{
    return testing::execOnScreens<MatchDayTest>(SCREEN("a-main", 0, 0, 1280, 1024, 96, 1) "," SCREEN("b-hall", 1280, 0, 1920, 1080, 96, 2), argc, argv);
}

#include "tst_matchday.moc"
