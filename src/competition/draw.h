#pragma once

#include "competition/boutlist.h"

#include <string>
#include <vector>

// The draw as results come in: who performs in each bout of the bout list,
// each bout's state, and each category's placings.
//
// A side that reads "W n" or "L n" gets the winner or the loser of bout n
// once bout n is decided. A bye goes through: a bout with one side a bye is
// decided without a bout, its other side counts as its winner and it has no
// loser ("L n" of it is a bye); a bout with both sides byes has neither
// ("W n" and "L n" of it are byes). Whether a bout is a bye follows from the
// list alone, never from results; a result recorded for a bye is ignored.
// A bout decided keeps who performed it (the names recorded with its
// result), also when an earlier result is corrected later; it is then
// marked as performed by others than the draw now names, and its winner and
// loser, who performed, go on into the bouts that name them.
namespace competition {

enum class Winner { None, Red, Blue }; // Red: aka, Blue: ao

struct Performer {
    std::string name, club;
    friend bool operator==(const Performer &, const Performer &) = default;
};

// One result as recorded, in the order recorded: the latest for a bout
// counts. Winner::None takes a result back (the bout is to come again).
struct Result {
    std::string category;
    int bout = 0;
    Winner winner = Winner::None;
    Performer red, blue; // who performed: the names the bout showed when decided
    friend bool operator==(const Result &, const Result &) = default;
};

enum class BoutState { ToCome, Decided, Bye }; // the current bout is the caller's

struct DrawnBout {
    BoutState state = BoutState::ToCome;
    // Each side: a performer, the winner or loser of a bout not decided yet
    // (through byes: "W 3" of a bye whose other side is "W 1" waits for bout
    // 1), or a bye. A decided bout shows who performed it.
    Side red, blue;
    Winner winner = Winner::None;   // decided: as recorded; a bye: the side that goes through, if any
    bool performedByOthers = false; // decided, and the draw now names others on a side
    friend bool operator==(const DrawnBout &, const DrawnBout &) = default;
};

struct Placing {
    int place = 0; // 1, 2 or 3
    Performer performer;
    int bout = 0; // the final or bronze bout that gave it
    friend bool operator==(const Placing &, const Placing &) = default;
};

struct CategoryDraw {
    std::vector<DrawnBout> bouts; // as the category's bouts in the list
    // The final's winner 1st and its loser 2nd, each bronze bout's winner
    // 3rd, in the list's order; only those known (a bout decided, or a bye
    // whose side that goes through is a performer).
    std::vector<Placing> placings;
};

// The draw of every category of `list` (as readBoutList gives it: each
// "W n"/"L n" names an earlier bout of its category; one that does not
// waits for ever). Results for bouts not in the list are ignored. Time
// linear in the bouts and results.
std::vector<CategoryDraw> resolveDraw(const BoutList &list, const std::vector<Result> &results);

// The performer a known side stands for (name and club).
Performer performerOf(const Side &side);

} // namespace competition
