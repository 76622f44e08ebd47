#include "platform/terminal.h"

#include <cstdio>

namespace platform {

void attachTerminal() {} // the terminal's streams are the program's already

void print(Stream stream, const QString &text)
{
    std::FILE *file = stream == Stream::Output ? stdout : stderr;
    std::fputs(text.toLocal8Bit().constData(), file);
    std::fflush(file);
}

} // namespace platform
