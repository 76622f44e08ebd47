#pragma once

#include "board/boardstate.h"
#include "competition/draw.h"

#include <optional>
#include <string>
#include <vector>

// Going through the day's bouts: which bout is the current one, which comes
// next, and what the boards show of it.
namespace competition {

// The bout at the table, by its category and number.
struct CurrentBout {
    std::string category;
    int bout = 0;
    friend bool operator==(const CurrentBout &, const CurrentBout &) = default;
};

// One decision as the console recorded it.
struct Decision {
    Result result;          // the bout, its winner (None: a result taken back), the names shown
    std::string recordedAt; // the local time of day, "2026-12-08 10:15:02"
    int field = 0;          // the field number shown
    int referees = 3;
    int redFlags = 0, blueFlags = 0;
    friend bool operator==(const Decision &, const Decision &) = default;
};

// The results the decisions give, in the order recorded.
std::vector<Result> resultsOf(const std::vector<Decision> &decisions);

// A bout's place in the list: its category's index and its own.
struct Place {
    std::size_t category = 0, bout = 0;
    friend bool operator==(const Place &, const Place &) = default;
};
std::optional<Place> placeOf(const BoutList &list, const CurrentBout &bout);
CurrentBout boutAt(const BoutList &list, Place place);

// The bout that comes after `from` (none: from the list's beginning): the
// next one in the list's order that is to come with both performers known
// (byes, decided bouts and bouts still waiting for a result passed over); where none follows, the first one to come from the list's
// beginning (a bout passed without a result), `from` itself last. None when
// every bout is decided or a bye.
std::optional<CurrentBout> nextToCome(const BoutList &list, const std::vector<CategoryDraw> &draw,
                                      const std::optional<CurrentBout> &from);
// The bout before `current` in the list's order that was decided or can be
// performed (byes and bouts still waiting for a result passed over); none at
// the beginning.
std::optional<CurrentBout> previousBout(const BoutList &list, const std::vector<CategoryDraw> &draw,
                                        const CurrentBout &current);

// Whether `bout` is to come with both its performers known.
bool performable(const BoutList &list, const std::vector<CategoryDraw> &draw, const CurrentBout &bout);

// The winner the flags give: more flags win; none where neither side has one.
Winner flagWinner(int redFlags, int blueFlags);

// A side as the boards show it: a performer's name and club, "Winner of
// bout 3" / "Loser of bout 3" while that bout is to come, nothing for a bye.
Performer shownSide(const Side &side);
// The bout's line: "Kata U14 female · Final · Bout 7" (without a round:
// "Kata U14 female · Bout 7").
std::string boutLine(const Bout &bout);
// What every board shows of the current bout; nothing without one.
board::Performers shownPerformers(const BoutList &list, const std::vector<CategoryDraw> &draw,
                                  const std::optional<CurrentBout> &current);

// One bout of the day as the results show it (pointers into the list and
// the decisions it was made from).
struct BoutRow {
    std::size_t category = 0; // its category's index in the list
    const Bout *bout = nullptr;
    Performer red, blue; // as the boards show them (shownSide)
    BoutState state = BoutState::ToCome;
    Winner winner = Winner::None;       // decided, or the side a bye lets through
    const Decision *decision = nullptr; // decided: the latest decision, which counts
    bool performedByOthers = false;     // decided, and the draw now names others on a side
};
// Every bout of the list in its order.
std::vector<BoutRow> boutRows(const BoutList &list, const std::vector<CategoryDraw> &draw,
                              const std::vector<Decision> &decisions);
// A bout's result in words: "Aka 3–2" (the winner, its flags first), "Aka
// goes through" for a bye; nothing while it is to come.
std::string resultText(const BoutRow &row);
// Its state in words: "current", "to come", "decided", "bye"; a decided bout
// performed by others than the draw now names (an earlier result was
// corrected after it) "decided, check".
std::string stateText(const BoutRow &row, bool current);

// The day's results as plain text, for pages that show them: each
// category's bouts and placings. Owns its texts (it is handed to another
// thread).
struct ResultsTable {
    struct Row {
        int bout = 0;
        std::string round;
        Performer red, blue;
        std::string state, result; // stateText, resultText
        std::string time;          // of its decision, "10:15"
        bool current = false;
        bool check = false; // decided, and the draw now names others (also while current)
    };
    struct Group {
        std::string category;
        std::vector<Row> bouts;
        std::vector<Placing> placings;
    };
    std::vector<Group> categories;
};
ResultsTable resultsTable(const BoutList &list, const std::vector<CategoryDraw> &draw,
                          const std::vector<Decision> &decisions, const std::optional<CurrentBout> &current);

} // namespace competition
