#pragma once

#include <cstdint>

namespace platform {

// Milliseconds on a clock that only goes forward and goes on counting while
// the machine sleeps: the time that has really passed in the hall, whatever
// held up the program. Its zero is arbitrary.
std::int64_t monotonicMs();

} // namespace platform
