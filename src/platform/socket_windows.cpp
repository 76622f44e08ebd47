#include "platform/socket.h"

#include <winsock2.h>

namespace platform {

void shutDownSending(std::intptr_t descriptor) { ::shutdown(SOCKET(descriptor), SD_SEND); }

} // namespace platform
