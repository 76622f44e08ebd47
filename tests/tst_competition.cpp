// The bout list read from CSV, and the draw as results come in.
#include "competition/boutlist.h"
#include "competition/draw.h"
#include "competition/progress.h"
#include "competition/results.h"
#include "competition/store.h"

#include "support/latin1.h"
#include <QTemporaryDir>

#include <QtTest>
#include <string>

using namespace competition;
using testing::latin1;

namespace {

std::string shown(const Side &s)
{
    switch (s.kind) {
    case Side::Kind::Performer:
        return s.name + (s.club.empty() ? std::string() : std::string("(") + s.club + ")");
    case Side::Kind::Winner:
        return std::string("W") + std::to_string(s.bout);
    case Side::Kind::Loser:
        return std::string("L") + std::to_string(s.bout);
    case Side::Kind::Bye:
        break;
    }
    return "_";
}

// The delimiter, then per bout "line:category/number/round/aka/ao" (a bye "_"),
// or the faults' message.
QByteArray read(const QByteArray &file)
{
    const auto result = readBoutList(std::string_view(file.constData(), std::size_t(file.size())), latin1);
    if (const auto *faults = std::get_if<std::vector<Fault>>(&result))
        return QByteArray::fromStdString(describeFaults(*faults));
    const BoutList &list = std::get<BoutList>(result);
    std::string out(1, list.delimiter);
    for (const Category &c : list.categories)
        for (const Bout &b : c.bouts) {
            if (b.category != c.name)
                return "category of a bout";
            out += std::string(" ") + std::to_string(b.line) + ":" + b.category + "/" + std::to_string(b.number) + "/" + b.round + "/" + shown(b.aka) + "/"
                + shown(b.ao);
        }
    return QByteArray::fromStdString(out);
}

BoutList listOf(const QByteArray &csv) { return std::get<BoutList>(readBoutList(csv.toStdString(), latin1)); }

// Results "3R 5B 3-" (the winner of bout 3 red, ... bout 3 taken back), each
// recorded with the names its bout shows at that moment, as the console does.
std::vector<Result> record(const BoutList &list, const QByteArray &results)
{
    std::vector<Result> recorded;
    for (const QByteArray &r : results.split(' ')) {
        if (r.isEmpty())
            continue;
        const int number = r.chopped(1).toInt();
        const auto &bouts = list.categories[0].bouts;
        const auto at = std::find_if(bouts.begin(), bouts.end(), [&](const Bout &b) { return b.number == number; });
        const DrawnBout now = at == bouts.end() ? DrawnBout{} : resolveDraw(list, recorded)[0].bouts[std::size_t(at - bouts.begin())];
        const Winner w = r.endsWith('R') ? Winner::Red : r.endsWith('B') ? Winner::Blue : Winner::None;
        recorded.push_back({list.categories[0].name, number, w, performerOf(now.red), performerOf(now.blue)});
    }
    return recorded;
}

} // namespace

class CompetitionTest : public QObject {
    Q_OBJECT

private slots:
    void reading()
    {
        QByteArray big = "category,bout,aka,ao\n";
        big += QByteArray(int(kMaxFileBytes) - big.size(), '\n');
        const std::tuple<const char *, QByteArray, QByteArray> rows[] = {
            // Dialects.
            {"comma, LF, any order and case, unknown column, blanks",
             "Round,AO,extra,Bout, aka ,CATEGORY\n"
             " final , Bo ,x, 7 ,Al,K\n",
             ", 2:K/7/final/Al/Bo"},
            {"semicolon, CR LF, quotes doubled, delimiters quoted", "category;bout;aka;ao;aka_club\r\nK;1;\"Al \"\"Ace\"\" Smith\";\"B;o\";\"C, Inc\"\r\n",
             "; 2:K/1//Al \"Ace\" Smith(C, Inc)/B;o"},
            {"delimiter counted outside quotes", "category;bout;aka;ao;\"a, b, c, d, e, f\"\nK;1;A,B;C\n", "; 2:K/1//A,B/C"},
            {"a line break inside quotes; the next row's line", "category,bout,aka,ao\r\nK,1,\"A\r\nB\nC\",D\r\nK,2,E,F\n", ", 2:K/1//A\nB\nC/D 5:K/2//E/F"},
            {"lone CR, blank lines and empty rows skipped", "\n;;\r\ncategory;bout;aka;ao\r\r\n;;;\r\nK;3;A;B\r", "; 6:K/3//A/B"},
            {"byte-order mark, UTF-8",
             "\xEF\xBB\xBF"
             "category,bout,aka,ao\nKata,1,\xE5\xB1\xB1\xE7\x94\xB0,J\xC3\xA9r\xC3\xB4me\n",
             ", 2:Kata/1//\xE5\xB1\xB1\xE7\x94\xB0/J\xC3\xA9r\xC3\xB4me"},
            {"8-bit text through the system's decoding", "category,bout,aka,ao\nK\xFC,1,J\xE9r\xF4me,M\xFCller\n",
             ", 2:K\xC3\xBC/1//J\xC3\xA9r\xC3\xB4me/M\xC3\xBCller"},
            {"references, byes, clubs only with names; categories as first met",
             "category,bout,aka,ao,aka_club,ao_club\nA,1,x,,c,d\nB,1,y,z\nA,2,w 1, L1 ,c,d\nA,03,W\t2,\"\",,e\nB,2,W1,l 1\n",
             ", 2:A/1//x(c)/_ 4:A/2//W1/L1 5:A/3//W2/_ 3:B/1//y/z 6:B/2//W1/L1"},
            {"short and long rows; text after a closing quote", "category,bout,aka,ao\nK,1,\"A\"x ,B,more,fields\nK,2,C\n", ", 2:K/1//Ax/B 3:K/2//C/_"},
            {"names that only look like references", "category,bout,aka,ao\nK,1,W,L 2b\nK,2,Lee 1,W-1\n", ", 2:K/1//W/L 2b 3:K/2//Lee 1/W-1"},
            // Faults: every line, in line order.
            {"empty file", "", "The file is empty."},
            {"blank lines only", "\r\n ; \r\n", "The file is empty."},
            {"header only", "category,bout,aka,ao\r\n", "The file holds no bouts, only its header."},
            {"missing columns", "\ncategory;bout nr;aka;Bout;bout\n",
             "Line 2: the column \"bout\" appears twice.\n"
             "Line 2: the column \"ao\" is missing."},
            {"a tab-separated file lacks its columns", "category\tbout\taka\tao\nK\t1\tA\tB\n",
             "Line 1: the column \"category\" is missing.\nLine 1: the column \"bout\" is missing.\n"
             "Line 1: the column \"aka\" is missing.\nLine 1: the column \"ao\" is missing."},
            {"every fault of the rows",
             "category,bout,aka,ao,round\n"
             ",1,A,B\n"                // 2
             "K,,A,B\n"                // 3
             "K,3a,A,B\n"              // 4
             "K,0,A,B\n"               // 5
             "K,1000000,A,B\n"         // 6
             "K,1,A,B,Final\n"         // 7
             "K,1,A,B\n"               // 8
             "L,2,W 1,L 1\n"           // 9: bout 1 is K's
             "K,2,W 5,L 99999999999\n" // 10
             "K,3,W 3,W 2\n"           // 11
             "K,4,W 6,L 1\n"           // 12: 4 -> 6 -> 5 -> 4
             "K,5,W 4,A\n"             // 13
             "K,6,W 5,B, final \n",    // 14
             "Line 2: the category is empty.\nLine 3: the bout number is empty.\n"
             "Line 4: the bout number \"3a\" is not a whole number from 1 to 999999.\n"
             "Line 5: the bout number \"0\" is not a whole number from 1 to 999999.\n"
             "Line 6: the bout number \"1000000\" is not a whole number from 1 to 999999.\n"
             "Line 8: bout 1 is used twice in \"K\".\n"
             "Line 9: aka \"W 1\": there is no bout 1 in \"L\".\nLine 9: ao \"L 1\": there is no bout 1 in \"L\".\n"
             "Line 10: ao \"L 99999999999\": there is no bout in \"K\".\n"
             "Line 10: aka \"W 5\" names bout 5, which comes later in the list.\n"
             "Line 11: aka \"W 3\" forms a cycle: it names its own bout.\n"
             "Line 12: aka \"W 6\" forms a cycle: bout 6 waits in turn for bout 4.\n"
             "Line 14: a second final in \"K\" (bout 1 is the first)."},
            {"values in a message: one line, cut short between characters",
             "category,bout,aka,ao\nK,\"1\n2\",A,B\nK," + QByteArray(39, '1')
                 + "\xC3\xA9"
                   "9,A,B\n",
             "Line 2: the bout number \"1 2\" is not a whole number from 1 to 999999.\nLine 4: the bout number \"" + QByteArray(39, '1')
                 + "\xE2\x80\xA6\" is not a whole number from 1 to 999999."},
            {"a duplicate's own reference", "category,bout,aka,ao\nK,1,A,B\nK,1,W 2,B\nK,2,A,B\n",
             "Line 3: bout 1 is used twice in \"K\".\nLine 3: aka \"W 2\" names bout 2, which comes later in the list."},
            {"an unclosed quote, after one spanning lines", "category,bout,aka,ao\nK,1,\"A\nB\",C\nK,2,D,E\nK,3,\"F\nG\",\"H\n",
             "Line 6: a quote opened here is never closed."},
            {"an unclosed quote in the header", "category,bout,aka,\"ao\n", "Line 1: a quote opened here is never closed."},
            {"an unclosed quote after a fault", "category,bout,aka,ao\nK,x,A,B\nK,2,\"A\n",
             "Line 2: the bout number \"x\" is not a whole number from 1 to 999999.\n"
             "Line 3: a quote opened here is never closed."},
            {"not text: NUL", QByteArrayLiteral("category,bout,aka,ao\nK,1,A,B\r\nK,2,\0,B\n"),
             "Line 3: the file is not text: it holds the control character U+0000."},
            {"not text: a control character", "category,bout,aka,ao\x1B\n", "Line 1: the file is not text: it holds the control character U+001B."},
            {"not text: DEL", "category,bout,aka,ao\rK,1,\x7F,B", "Line 2: the file is not text: it holds the control character U+007F."},
            {"not text: a C1 control in UTF-8", "category,bout,aka,ao\n\xC2\x85", "Line 2: the file is not text: it holds the control character U+0085."},
            {"not text: a C1 control decoded", "category,bout,aka,ao\n\n\x81", "Line 3: the file is not text: it holds the control character U+0081."},
            {"not text: a byte the system cannot read", "category,bout,aka,ao\n\xFF",
             "Line 2: the file is not text: it is neither UTF-8 nor in the system's encoding."},
            {"not text: UTF-8 marked, then not",
             "\xEF\xBB\xBF"
             "category\n\xE9",
             "Line 2: the file is not text: it begins as UTF-8 but is not UTF-8 here."},
            {"not text: overlong UTF-8 after a mark", "\xEF\xBB\xBF\xC0\xAF", "Line 1: the file is not text: it begins as UTF-8 but is not UTF-8 here."},
            {"UTF-16",
             "\xFF\xFE"
             "c\0",
             "The file is UTF-16 text: save it from the spreadsheet as \"CSV UTF-8\"."},
            {"5 MB of blank lines at most", big, "The file holds no bouts, only its header."},
            {"a byte over 5 MB", big + ' ', "The file is over 5 MB."},
        };
        for (const auto &[name, file, expected] : rows)
            QCOMPARE(name + (": " + read(file)), name + (": " + expected));
    }

    // So many faults told, the rest counted.
    void manyFaults()
    {
        const std::vector<Fault> three = {{0, "the file is over 5 MB"}, {2, "x"}, {3, "y"}};
        QCOMPARE(describeFaults(three, 1), std::string("The file is over 5 MB.\nAnd 2 more faults."));
        QCOMPARE(describeFaults(three, 2), std::string("The file is over 5 MB.\nLine 2: x.\nAnd 1 more fault."));
        QCOMPARE(describeFaults(three, 3), std::string("The file is over 5 MB.\nLine 2: x.\nLine 3: y."));
    }

    void drawing()
    {
        const QByteArray knockout = "1,,A,B\n2,,C,D\n3,,E,\n4,,W 1,W 2\n5,bronze,L 1,L 2\n6,final,W 4,W 3\n"
                                    "7,bronze,L 4,L 3\n";
        // Per bout: number, state (? to come, R/B decided for red/blue, r/b a bye with red/blue
        // through, 0 a bye with neither), "!" where performed by others, the sides; then the placings.
        const std::tuple<const char *, QByteArray, QByteArray, QByteArray> rows[] = {
            {"nothing decided", knockout, "", "1? A B|2? C D|3r E _|4? W1 W2|5? L1 L2|6? W4 E|7r L4 _|"},
            {"names filled in, placings", knockout, "1R 2B 4B 5R 6R", "1R A B|2B C D|3r E _|4B A D|5R B C|6R D E|7r A _|1.D 2.E 3.B 3.A"},
            {"a final won by a bye", "1,,A,\n2,Final,W 1,\n3,bronze,,\n", "", "1r A _|2r A _|3 0 _ _|1.A"},
            {"byes pass on what they wait for", "1,,A,B\n2,,W 1,\n3,,,\n4,,W 2,W 3\n5,,L 2,L 3\n", "2R 3B 5R", "1? A B|2r W1 _|3 0 _ _|4r W1 _|5 0 _ _|"},
            {"a result for a bye or no bout is ignored", "1,,A,\n2,,W 1,B\n", "1B 9R 2B", "1r A _|2B A B|"},
            {"taken back: to come again", knockout, "1R 2R 1-", "1? A B|2R C D|3r E _|4? W1 C|5? L1 D|6? W4 E|7r L4 _|"},
            // Bout 2 corrected after bout 4 was performed by D: bout 4 keeps D and
            // is marked; its loser, who performed, goes on; bout 5 not yet
            // performed follows the correction.
            {"a correction after a later bout", knockout, "1R 2B 4R 2R", "1R A B|2R C D|3r E _|4R! A D|5? B D|6? A E|7r D _|3.D"},
            {"a correction of the later bout itself", knockout, "1R 2B 4R 1B 4B 6R", "1B A B|2B C D|3r E _|4B! A D|5? A C|6R D E|7r A _|1.D 2.E 3.A"},
        };
        for (const auto &[name, bouts, results, expected] : rows) {
            QByteArray csv = "category,bout,round,aka,ao\n";
            for (const QByteArray &line : bouts.split('\n'))
                if (!line.isEmpty())
                    csv += "K," + line + "\n";
            const BoutList list = listOf(csv);
            const CategoryDraw draw = resolveDraw(list, record(list, results)).at(0);
            std::string out;
            for (std::size_t b = 0; b < draw.bouts.size(); ++b) {
                const DrawnBout &d = draw.bouts[b];
                const char *states[3][3] = {{"?", "?", "?"}, {"", "R", "B"}, {" 0", "r", "b"}};
                out += std::to_string(list.categories[0].bouts[b].number) + states[int(d.state)][int(d.winner)] + (d.performedByOthers ? "!" : "") + " "
                    + shown(d.red) + " " + shown(d.blue) + "|";
            }
            for (const Placing &p : draw.placings) {
                out += out.ends_with('|') ? "" : " ";
                out += std::to_string(p.place) + "." + p.performer.name;
            }
            QCOMPARE(name + (": " + QByteArray::fromStdString(out)), name + (": " + expected));
        }
    }

    // Going through the day: the bout after and before each, and what the boards show of it.
    void goingThroughTheDay()
    {
        const BoutList list = listOf("category,bout,round,aka,aka_club,ao\nK,1,,A,Club A,B\nK,2,,C,,D\nK,3,,E,,\nK,4,,W 1,,W 2\n"
                                     "K,5,bronze,L 1,,L 2\nK,6,final,W 4,,W 3\nK,7,bronze,L 4,,L 3\n");
        // Results, the bout from (0: none), then the next bout and the one before it (0: none).
        const std::tuple<const char *, int, int, int> rows[] = {
            {"", 0, 1, 0},      // the first to come
            {"", 1, 2, 0},      // none before the first
            {"", 2, 1, 1},      // 3 a bye, 4 to 7 wait: round again to the first
            {"1R 2B", 2, 4, 1}, // decided bouts passed over going on, not going back
            {"1R 2B", 4, 5, 2}, // the bye 3 passed over going back
            {"1R", 1, 2, 0},
            {"1R 2B", 1, 4, 0},
            {"1R 2B 4B 5R 6R", 6, 0, 5}, // every bout decided or a bye: none
            {"1R 2B 4B 5R", 4, 6, 2},    // from a decided bout
        };
        for (const auto &[results, from, next, before] : rows) {
            const std::vector<CategoryDraw> draw = resolveDraw(list, record(list, results));
            const auto number = [](const std::optional<CurrentBout> &b) { return b ? b->bout : 0; };
            const std::optional<CurrentBout> at = from ? std::optional(CurrentBout{"K", from}) : std::nullopt;
            const QString row = QStringLiteral("%1 from %2: ").arg(results).arg(from);
            QCOMPARE(row + QString::number(number(nextToCome(list, draw, at))), row + QString::number(next));
            if (at)
                QCOMPARE(row + QString::number(number(previousBout(list, draw, *at))), row + QString::number(before));
        }
        const std::vector<CategoryDraw> draw = resolveDraw(list, record(list, "1R"));
        QCOMPARE(shownPerformers(list, draw, CurrentBout{"K", 4}), (board::Performers{"A", "Club A", "Winner of bout 2", "", "K \u00b7 Bout 4"}));
        QCOMPARE(shownPerformers(list, draw, CurrentBout{"K", 5}).blueName, std::string("Loser of bout 2")); // a loser still to come
        QCOMPARE(shownPerformers(list, draw, CurrentBout{"K", 6}).bout, std::string("K \u00b7 final \u00b7 Bout 6"));
        QCOMPARE(shownPerformers(list, draw, CurrentBout{"K", 9}), board::Performers{}); // no such bout: nothing
        QCOMPARE(shownPerformers(list, draw, std::nullopt), board::Performers{});
        QCOMPARE((std::array{flagWinner(3, 2), flagWinner(0, 5), flagWinner(1, 4), flagWinner(0, 0)}),
                 (std::array{Winner::Red, Winner::Blue, Winner::Blue, Winner::None}));
    }

    // The results as a spreadsheet reads them: the list's delimiter, quotes where needed, no formulas, placings after.
    void resultsForSpreadsheets()
    {
        const BoutList list = listOf("category;bout;round;aka;aka_club;ao;ao_club\nK;1;;=SUM(A1);\"Club; \"\"A\"\"\";Bo;\n"
                                     "K;2;;Cy;;;\nK;3;final;W 1;;W 2;\nK;4;;Dan;; -Eve;\n");
        std::vector<Decision> decisions;
        for (const auto &[bout, winner, red, blue, at] :
             {std::tuple{1, Winner::Blue, 1, 4, "10:01"}, {1, Winner::Red, 3, 2, "10:05"}, {3, Winner::Blue, 0, 5, "10:09"}}) {
            const DrawnBout drawn = resolveDraw(
                                        list,
                                        [&] {
                std::vector<Result> r;
                for (const Decision &d : decisions)
                    r.push_back(d.result);
                return r;
                                        }())[0]
                .bouts[std::size_t(bout - 1)];
            decisions.push_back({{"K", bout, winner, performerOf(drawn.red), performerOf(drawn.blue)}, std::string("2026-12-08 ") + at, 7, 5, red, blue});
        }
        std::vector<Result> results;
        for (const Decision &d : decisions)
            results.push_back(d.result);
        const std::string csv = resultsCsv(list, resolveDraw(list, results), decisions);
        QCOMPARE(QByteArray::fromStdString(csv),
                 QByteArray("\xEF\xBB\xBF"
                            "category;round;bout;aka;aka_club;ao;ao_club;aka_flags;ao_flags;winner;state;recorded_at\r\n"
                            "K;;1;'=SUM(A1);\"Club; \"\"A\"\"\";Bo;;3;2;aka;decided;2026-12-08 10:05\r\n" // the correction counts
                            "K;;2;Cy;;;;;;aka;bye;\r\n"
                            "K;final;3;'=SUM(A1);\"Club; \"\"A\"\"\";Cy;;0;5;ao;decided;2026-12-08 10:09\r\n"
                            "K;;4;Dan;;'-Eve;;;;;to come;\r\n"
                            "\r\n"
                            "category;place;name;club\r\n"
                            "K;1;Cy;\r\n"
                            "K;2;'=SUM(A1);\"Club; \"\"A\"\"\"\r\n"));
    }

    // --export-results: from the results file as the console left it; no file, or a target that cannot be written, named.
    void exportFromTheFile()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QLatin1String(kResultsFileName)), csv = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY2(exportResults(file, csv).startsWith("There is no results file at"), qPrintable(exportResults(file, csv)));
        const BoutList list = listOf("category,bout,aka,ao\nK,1,Ann,Bo\n");
        {
            Store store;
            store.open(file);
            store.saveList(list, CurrentBout{"K", 1});
            store.record({{"K", 1, Winner::Blue, {"Ann", ""}, {"Bo", ""}}, "2026-12-08 10:00:00", 3, 3, 1, 2});
        } // written before the store ends
        QCOMPARE(exportResults(file, csv), QString());
        QFile out(csv);
        QVERIFY(out.open(QIODevice::ReadOnly));
        QVERIFY2(out.readAll().contains("K,,1,Ann,,Bo,,1,2,ao,decided,2026-12-08 10:00:00\r\n\r\ncategory,place,name,club\r\n"), "the bout decided");
        QVERIFY2(exportResults(file, dir.filePath("no such folder/out.csv")).startsWith("The results could not be written to"), "refused");
    }

    // The README's example: a knockout with repechage, read and played to its placings.
    void theExampleFile()
    {
        QFile file(QStringLiteral(TAIKAN_DOCS_DIR "/bouts-example.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const BoutList list = listOf(file.readAll());
        QCOMPARE(list.categories.size(), std::size_t(1));
        const std::vector<Bout> &bouts = list.categories[0].bouts;
        QCOMPARE(bouts.size(), std::size_t(11));
        const std::vector<Result> results = record(list, "1R 2R 3B 5R 6R 7B 9R 10B 11B");
        const CategoryDraw draw = resolveDraw(list, results)[0];
        QCOMPARE(draw.bouts[3].state, BoutState::Bye); // bout 4 has no loser,
        QCOMPARE(draw.bouts[7].state, BoutState::Bye); // so bout 8 is a bye too
        QCOMPARE(draw.bouts[9].red.name, std::string("Paul Dubois"));
        std::string placings;
        for (const Placing &p : draw.placings)
            placings += std::to_string(p.place) + " " + p.performer.name + " (" + p.performer.club + ") ";
        QCOMPARE(QString::fromStdString(placings),
                 QStringLiteral("1 Max Keller (KC Z\u00FCrich) 2 J\u00E9r\u00F4me \u0141ukasiewicz (Karate Club Lyon, juniors) "
                                "3 Lukas Meier (Budo Basel) 3 \u5C71\u7530 \u592A\u90CE (Shotokan Osaka) "));
    }
};

QTEST_MAIN(CompetitionTest)
#include "tst_competition.moc"
