#pragma once

#include "ui/control.h"

#include <string>

// What the public sees, on the hall's scoreboard and in every browser: one
// state, with the rules of how it changes. Toolkit-free; the board model
// (board::PublicBoard) holds one and announces its changes.
namespace board {

// The clock's three digits, on every board.
enum class Digit { Minutes, Tens, Units };

// Who performs in the current bout: filled in once a bout list is loaded,
// empty (and shown nowhere) until then.
struct Performers {
    std::string redName, redClub;
    std::string blueName, blueClub;
    std::string bout; // the category, round and bout in one line
    friend bool operator==(const Performers &, const Performers &) = default;
};

struct State {
    int red = 0; // the flag counts as the boards show them, 0..9
    int blue = 0;
    std::string fieldNumber;
    std::string minutes, tens, units; // the clock digits' texts
    bool clockShown = false;
    ui::BgrColour clockColour = 0;
    bool mirrored = false; // red (Aka) on the left, as External says
    Performers performers;
    friend bool operator==(const State &, const State &) = default;

    // A board as it opens: no decision ("0" and "0"), the clock hidden with
    // its design digits in the normal colour, the console's field number,
    // mirrored or not. A decision shows again only when it is chosen anew,
    // the clock only after the next Start. Who performs stays as it was:
    // `performers` is the current bout's.
    static State opened(std::string fieldNumber, bool mirrored, Performers performers = {});

    // Each writer says whether anything the public sees changed: a write
    // that changes nothing is published nowhere.
    bool setCounts(int red, int blue); // kept to one digit each
    bool write(Digit digit, std::string text);
    bool setClockColour(ui::BgrColour colour);
    bool setClockShown(bool shown);
    bool setFieldNumber(std::string text); // "Set": character for character
    bool setMirrored(bool mirrored);       // takes effect on the hall's board at its next opening
    bool setPerformers(Performers performers);

    std::string clockText() const; // minutes, colon, tens, units
    bool warning() const;          // the digits in the warning colour
};

} // namespace board
