#pragma once

#include "ui/control.h"

#include <string>
#include <string_view>

// The match clock's arithmetic and its time entry, free of the toolkit.
// The clock's state is the text of three digit labels: minutes, tens of
// seconds, units of seconds. Each is read as the numeric value of its text,
// whole numbers only (the entry fields let only digits in).
namespace timer {

// The scoreboard's clock digits: black, and dark red from ten seconds
// before the end. The console's digits keep their own colour.
inline constexpr ui::BgrColour kNormalDigits = ui::rgb(0, 0, 0);
inline constexpr ui::BgrColour kWarningDigits = ui::rgb(143, 0, 0);

struct ClockValue {
    long long minutes = 0;
    long long tens = 0;
    long long units = 0;
    friend bool operator==(const ClockValue &, const ClockValue &) = default;
};

// The value of one digit text: its numeric value without the fraction,
// kept within a range no clock reaches, so that counting stays exact.
long long digitValue(std::string_view text);

ClockValue readClock(std::string_view minutes, std::string_view tens, std::string_view units);

// The clock starts only from a time other than 0:00.
bool canStart(const ClockValue &value);

enum class TickSignal { None, Warning, End };

struct TickResult {
    ClockValue value;
    TickSignal signal = TickSignal::None;
};

// One second less, borrowing a minute at M:00 and ten seconds at M:T0: the
// warning on the tick that reaches exactly 0:10, the end on 0:00. Tens above
// 5 count down like any number (1:75, 1:74, ... 1:70, 1:69).
TickResult tick(const ClockValue &value);

// `seconds` ticks at once, for a clock that was held up: the value they
// reach (never beyond 0:00), the end when they reach 0:00, else the warning
// when one of them reached 0:10.
TickResult advance(const ClockValue &value, long long seconds);

// A digit as the clock writes it: plain decimal, no leading zeros.
std::string digitText(long long value);

// What a typed character does in a time or field-number field: digits and
// backspace go in; a full stop is refused with a message; anything else
// (letters, signs, the blank, Enter, the clipboard shortcuts) is dropped.
enum class Entry { Accept, Refuse, Drop };
Entry entryOf(char32_t character);

// The minutes field holds one digit: a value above 9 falls back to "0".
bool minutesTooLarge(std::string_view text);

} // namespace timer
