#include "board/boardstate.h"

#include "scoreboard/boarddesign.h"

#include <algorithm>
#include <utility>

namespace board {

namespace {

using scoreboard::designRow;

std::string designText(std::string_view name) { return std::string(designRow(name).text); }

template <typename T> bool assign(T &field, T value)
{
    if (field == value)
        return false;
    field = std::move(value);
    return true;
}

} // namespace

State State::opened(std::string fieldNumber, bool mirrored, Performers performers)
{
    State state;
    state.red = std::stoi(designText("scr"));
    state.blue = std::stoi(designText("scb"));
    state.fieldNumber = std::move(fieldNumber);
    state.minutes = designText("Label1_7");
    state.tens = designText("Label1_0");
    state.units = designText("Label1_6");
    state.clockShown = !designRow("Frame1").hidden;
    state.clockColour = designRow("Label1_7").fore;
    state.mirrored = mirrored;
    state.performers = std::move(performers);
    return state;
}

bool State::setCounts(int r, int b)
{
    const bool redChanged = assign(red, std::clamp(r, 0, 9));
    return assign(blue, std::clamp(b, 0, 9)) || redChanged;
}

bool State::write(Digit digit, std::string text)
{
    return assign(digit == Digit::Minutes ? minutes : digit == Digit::Tens ? tens : units, std::move(text));
}

bool State::setClockColour(ui::BgrColour colour) { return assign(clockColour, colour); }
bool State::setClockShown(bool shown) { return assign(clockShown, shown); }
bool State::setFieldNumber(std::string text) { return assign(fieldNumber, std::move(text)); }
bool State::setMirrored(bool m) { return assign(mirrored, m); }
bool State::setPerformers(Performers p) { return assign(performers, std::move(p)); }

std::string State::clockText() const { return minutes + ':' + tens + units; }

bool State::warning() const { return clockColour != designRow("Label1_7").fore; }

} // namespace board
