#include "browserboard/boardstate.h"

#include "scoreboard/boarddesign.h"

#include <algorithm>

namespace browserboard {

namespace {

using scoreboard::designRow;

std::string designText(std::string_view name) { return std::string(designRow(name).text); }

int oneDigit(int count) { return std::clamp(count, 0, 9); }

} // namespace

BoardState BoardState::opened(std::string fieldNumber, bool mirrored)
{
    BoardState state;
    state.red = std::stoi(designText("scr"));
    state.blue = std::stoi(designText("scb"));
    state.fieldNumber = std::move(fieldNumber);
    state.minutes = designText("Label1_7");
    state.tens = designText("Label1_0");
    state.units = designText("Label1_6");
    state.clockShown = !designRow("Frame1").hidden;
    state.clockColour = designRow("Label1_7").fore;
    state.mirrored = mirrored;
    return state;
}

void BoardState::setCounts(int r, int b)
{
    red = oneDigit(r);
    blue = oneDigit(b);
}

void BoardState::write(Digit digit, std::string text)
{
    (digit == Digit::Minutes ? minutes : digit == Digit::Tens ? tens : units) = std::move(text);
}

std::string BoardState::clockText() const { return minutes + ':' + tens + units; }

bool BoardState::warning() const { return clockColour != designRow("Label1_7").fore; }

} // namespace browserboard
