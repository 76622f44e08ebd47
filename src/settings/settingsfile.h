#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The settings file kata.ini: seven lines in the system's 8-bit encoding.
//   1 end-of-match sound   2 warning sound
//   3 horizontal scale     4 vertical scale     5 font scale
//   6 mirror the console   7 mirror the scoreboard (" 1 " or " 0 ")
namespace settings {

// The values the file restores, as 8-bit text. Defaults are the console's
// design values.
struct Settings {
    std::string endSound;          // eindwav
    std::string warningSound;      // waarwav
    std::string hScale = "1";      // hsch
    std::string vScale = "1";      // vsch
    std::string fontScale = "1";   // fsch
    bool mirrorConsole = false;    // Check10, Internal
    bool mirrorScoreboard = false; // Check11, External
    // The texts are UTF-8, not the system's 8-bit encoding: where that
    // encoding cannot hold one of them (a path in Japanese on a Western
    // European Windows). Such a file begins with a byte-order mark.
    bool utf8 = false;
    friend bool operator==(const Settings &, const Settings &) = default;
};

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Where reading stopped. A line that must be compared as a number but does
// not read as one stops reading; everything from there on keeps its design
// value.
enum class ReadStop {
    Complete,    // every line read was understood
    BadScale,    // a scale line: no scale restored, both boxes unchecked
    BadInternal, // the Internal line: both boxes unchecked
    BadExternal, // the External line: External unchecked
};

struct ReadResult {
    Settings values;
    ReadStop stop = ReadStop::Complete;
    int linesRead = 0; // 0..7
};

inline constexpr int kLineCount = 7;

// The loader reads at most this much of the file. Everything the console
// can save fits many times over; beyond it lies no line the program reads.
inline constexpr std::size_t kReadLimit = 1u << 20;

// Reads the file's content, after a byte-order mark if there is one. A line
// ends at CR LF, a lone CR or a lone LF;
// lines after the seventh are ignored. Never fails: any content gives a
// result, in time linear in the bytes looked at.
ReadResult readSettings(std::string_view bytes);

// The value of a line compared as a number: blanks around it are ignored,
// then an optional sign, digits with an optional fraction and an optional
// exponent. The fraction may follow a "." or, as some locales write it, a
// ",". Anything else, the empty line included, is no number.
std::optional<double> lineNumber(std::string_view line);

// The file's content for the values: seven lines, each ended by CR LF,
// after a byte-order mark where the texts are UTF-8;
// lines 6 and 7 written as " 1 " or " 0 ". A line break inside a text
// cannot be stored in a line and is left out.
std::string writeSettings(const Settings &values);

} // namespace settings
