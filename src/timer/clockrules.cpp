#include "timer/clockrules.h"

#include "common/numeric.h"

#include <cmath>

namespace timer {

namespace {

// Far beyond any match time, far within a long long.
constexpr double kLargest = 1e12;

} // namespace

long long digitValue(std::string_view text)
{
    const double value = common::numericValue(text); // never negative, always finite
    return static_cast<long long>(std::trunc(value < kLargest ? value : kLargest));
}

ClockValue readClock(std::string_view minutes, std::string_view tens, std::string_view units)
{
    return {digitValue(minutes), digitValue(tens), digitValue(units)};
}

bool canStart(const ClockValue &value) { return value.minutes != 0 || value.tens != 0 || value.units != 0; }

TickResult tick(const ClockValue &value)
{
    ClockValue next = value;
    if (next.tens == 0 && next.units == 0) {
        next.tens = 6;
        next.minutes -= 1;
    }
    if (next.units == 0) {
        next.units = 10;
        next.tens -= 1;
    }
    next.units -= 1;

    TickSignal signal = TickSignal::None;
    if (next.minutes == 0 && next.tens == 1 && next.units == 0)
        signal = TickSignal::Warning;
    else if (next.minutes == 0 && next.tens == 0 && next.units == 0)
        signal = TickSignal::End;
    return {next, signal};
}

TickResult advance(const ClockValue &value, long long seconds)
{
    // Step by step, so that every second counts as a tick of its own; it
    // ends at 0:00, which a running clock reaches within its own seconds.
    TickResult result{value, TickSignal::None};
    for (long long i = 0; i < seconds && result.signal != TickSignal::End; ++i) {
        const TickResult next = tick(result.value);
        result = {next.value, next.signal == TickSignal::None ? result.signal : next.signal};
    }
    return result;
}

std::string digitText(long long value) { return std::to_string(value); }

Entry entryOf(char32_t character)
{
    if (character >= U'0' && character <= U'9')
        return Entry::Accept;
    if (character == 8) // backspace
        return Entry::Accept;
    if (character == U'.')
        return Entry::Refuse;
    return Entry::Drop;
}

bool minutesTooLarge(std::string_view text) { return common::numericValue(text) > 9; }

} // namespace timer
