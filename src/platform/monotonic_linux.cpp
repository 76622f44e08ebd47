#include "platform/monotonic.h"

#include <time.h>

namespace platform {

std::int64_t monotonicMs()
{
    // CLOCK_MONOTONIC stands still while the machine is suspended; the boot
    // clock does not.
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

} // namespace platform
