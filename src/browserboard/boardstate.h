#pragma once

#include "ui/control.h"

#include <string>

// What the scoreboard window shows, kept for the browsers. It takes every
// write the window takes and is reset as the window is when it opens; unlike
// the window it is not discarded when the window closes, so that the
// browsers go on following the match while the hall's display is dark.
namespace browserboard {

enum class Digit { Minutes, Tens, Units };

struct BoardState {
    int red = 0; // the flag counts as the scoreboard writes them, 0..9
    int blue = 0;
    std::string fieldNumber;
    std::string minutes, tens, units; // the clock digits' texts
    bool clockShown = false;
    ui::BgrColour clockColour = 0;
    bool mirrored = false; // red (Aka) on the left, as "External" says
    friend bool operator==(const BoardState &, const BoardState &) = default;

    // A scoreboard as it opens: its design's counts and clock (hidden), the
    // console's field number, mirrored or not.
    static BoardState opened(std::string fieldNumber, bool mirrored);

    void setCounts(int red, int blue); // kept to one digit, as the scoreboard writes them
    void write(Digit digit, std::string text);
    std::string clockText() const; // "M:TS"
    bool warning() const;          // the digits in the warning colour
};

} // namespace browserboard
