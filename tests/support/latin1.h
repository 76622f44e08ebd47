#pragma once

#include <string>
#include <string_view>

namespace testing {

// The system's 8-bit encoding as the tests have it: Latin-1, but 0xFF is a
// byte it cannot read.
inline std::string latin1(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == 0xFF)
            out += "\xEF\xBF\xBD";
        else if (b >= 0x80)
            out += {char(0xC0 | b >> 6), char(0x80 | (b & 0x3F))};
        else
            out += c;
    }
    return out;
}

} // namespace testing
