#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The bout list: who performs against whom, category by category, as the
// organiser's draw sheet gives it in a CSV file saved by a spreadsheet.
//
// The file. Fields are separated by commas or by semicolons, whichever the
// header line holds more of outside quotes (a tie: commas). A field may be
// quoted ("..."): a quote inside is doubled, and delimiters and line breaks
// inside are part of the field (a line break is kept as LF). Text after a
// field's closing quote is added to it as it stands. Blanks (spaces, tabs)
// around every value are dropped, also inside quotes. Lines end at CR LF,
// LF or a lone CR. A line whose fields are all empty is skipped.
//
// The encoding. A file that begins with UTF-8's byte-order mark must be
// UTF-8. One without it is UTF-8 where it is valid UTF-8 throughout;
// otherwise the system's 8-bit encoding, which the caller hands in (the
// program passes Qt's local 8-bit decoding; text comes out as UTF-8).
// "Not text", and nothing loaded: a file with a control character (U+0000
// to U+001F apart from tab, CR and LF; U+007F; U+0080 to U+009F), one that
// begins with UTF-8's byte-order mark and is not UTF-8, one whose 8-bit
// decoding gives no text (U+FFFD, the decoder's mark for a byte it cannot
// read, or no valid UTF-8), and one saved as UTF-16 (it begins with that
// byte-order mark). A binary file (a spreadsheet's own format, a picture)
// holds NUL bytes and so is never text.
//
// The first line that is not blank is the header: column names, in any
// order, case-blind, blanks around them dropped. Required: category, bout,
// aka, ao; optional: aka_club, ao_club, round; any other column is ignored.
// Each further line is one bout:
//   category  the category's name, as written ("Kata U14 female")
//   bout      its number, 1 to 999999, unique within the category
//   aka, ao   a performer's name; "W n" or "L n" (case-blind, blanks between
//             optional): the winner or the loser of bout n of the same
//             category, which must come earlier in the list; empty: a bye
//   aka_club, ao_club  the performer's club (kept with a name only)
//   round     free text; "final" and "bronze" (case-blind) also give the
//             placings (see draw.h); one final per category
namespace competition {

// The largest file read: the caller reads at most one byte more.
inline constexpr std::size_t kMaxFileBytes = 5u << 20;
inline constexpr int kMaxBoutNumber = 999999;

struct Side {
    enum class Kind {
        Performer, // name and club
        Winner,    // the winner of `bout` of the same category
        Loser,     // its loser
        Bye,       // nobody: the other side goes through without a bout
    };
    Kind kind = Kind::Bye;
    std::string name, club;
    int bout = 0;
    friend bool operator==(const Side &, const Side &) = default;
};

struct Bout {
    std::string category;
    int number = 0;
    std::string round;
    Side aka, ao;
    int line = 0; // the file's line (from 1) where the bout's row begins
    friend bool operator==(const Bout &, const Bout &) = default;
};

struct Category {
    std::string name;
    std::vector<Bout> bouts; // in the file's order
    friend bool operator==(const Category &, const Category &) = default;
};

struct BoutList {
    char delimiter = ',';
    std::vector<Category> categories; // in the order they first appear
    friend bool operator==(const BoutList &, const BoutList &) = default;
};

// What is wrong where. Line 0: the file as a whole (too large, empty,
// UTF-16). `what` is a phrase without the line and without a full stop.
struct Fault {
    int line = 0;
    std::string what;
    friend bool operator==(const Fault &, const Fault &) = default;
};

// "round" is "final" / "bronze", case-blind, blanks around it ignored.
bool isFinal(std::string_view round);
bool isBronze(std::string_view round);

// A side from its cell ("W 3", "l3", a name, empty: a bye) and its club
// (kept with a name only), and back to a cell as the list writes it.
Side readSide(std::string_view text, std::string_view club);
std::string sideCell(const Side &side);

// Reads the file's bytes: the list, or every fault found, in line order
// (a file with a fault gives no list). Faults of the file as a whole (too
// large, not text, an unclosed quote that swallows the rest) stop the
// reading there; otherwise every line is checked. `fromLocal8Bit` turns
// bytes of the system's 8-bit encoding into UTF-8. Time linear in the bytes.
using Decoder = std::function<std::string(std::string_view)>;
std::variant<BoutList, std::vector<Fault>> readBoutList(std::string_view bytes, const Decoder &fromLocal8Bit);

// One message naming every fault, one line each: "Line 7: bout 3 is used
// twice in "Kata U14 female"." (a fault of the whole file without "Line").
// Beyond `most` faults (a file that is no bout list at all may have
// hundreds of thousands) one last line counts the rest: "And 12 more
// faults."
std::string describeFaults(const std::vector<Fault> &faults, std::size_t most = 100);

} // namespace competition
