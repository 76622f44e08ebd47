#pragma once

#include <cstdint>

namespace platform {

// Ends the sending side of a connected socket (its native descriptor): the
// client reads what was sent, then the end, and may go on sending until
// the socket is closed.
void shutDownSending(std::intptr_t descriptor);

} // namespace platform
