#include "platform/socket.h"

#include <sys/socket.h>

namespace platform {

void shutDownSending(std::intptr_t descriptor) { ::shutdown(int(descriptor), SHUT_WR); }

} // namespace platform
