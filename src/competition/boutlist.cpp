#include "competition/boutlist.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <unordered_map>

namespace competition {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool equalsCaseBlind(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

// The length of the valid UTF-8 sequence that begins at s[i]; 0 where none
// does (overlong forms, surrogates and code points beyond U+10FFFF are none).
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = byte(i);
    if (c < 0x80)
        return 1;
    std::size_t n = 0;
    unsigned low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        low = c == 0xE0 ? 0xA0 : low;
        high = c == 0xED ? 0x9F : high;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        low = c == 0xF0 ? 0x90 : low;
        high = c == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (i + n > s.size() || byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return n;
}

std::size_t firstInvalidUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = utf8Length(s, i);
        if (n == 0)
            return i;
        i += n;
    }
    return std::string_view::npos;
}

// The line (from 1) that holds position `pos`.
int lineAt(std::string_view text, std::size_t pos)
{
    int line = 1;
    for (std::size_t i = 0; i < pos && i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

const std::string kNotText = "the file is not text: ";

// The file's text as UTF-8, or why it is not text.
std::optional<Fault> decode(std::string_view bytes, const Decoder &fromLocal8Bit, std::string &text)
{
    // Explorer's "5 MB" is 5 MiB.
    if (bytes.size() > kMaxFileBytes)
        return Fault{0, "the file is over 5 MB"};
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return Fault{0, "the file is UTF-16 text: save it from the spreadsheet as \"CSV UTF-8\""};
    bool eightBit = false;
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
        if (const std::size_t bad = firstInvalidUtf8(bytes); bad != std::string_view::npos)
            return Fault{lineAt(bytes, bad), kNotText + "it begins as UTF-8 but is not UTF-8 here"};
        text.assign(bytes);
    } else if (firstInvalidUtf8(bytes) == std::string_view::npos) {
        text.assign(bytes);
    } else {
        eightBit = true;
        text = fromLocal8Bit ? fromLocal8Bit(bytes) : std::string();
        if (const std::size_t bad = firstInvalidUtf8(text); bad != std::string_view::npos)
            return Fault{lineAt(text, bad), kNotText + "it is neither UTF-8 nor in the system's encoding"};
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        unsigned control = 0x100;
        if ((c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F)
            control = c;
        else if (c == 0xC2 && next >= 0x80 && next <= 0x9F)
            control = next;
        if (control != 0x100) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", control);
            return Fault{lineAt(text, i), kNotText + "it holds the control character " + code};
        }
        if (eightBit && text.compare(i, 3, "\xEF\xBF\xBD") == 0)
            return Fault{lineAt(text, i), kNotText + "it is neither UTF-8 nor in the system's encoding"};
    }
    return std::nullopt;
}

// Reads records (rows of fields) off the text one by one, with a delimiter.
class Records {
public:
    Records(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

    // Hands each field of the next record to `field(index, value)`, its
    // value with the blanks around it dropped; false at the end of the text
    // or at a quote that is never closed (then `unclosed` holds its line).
    template <class Field> bool next(Field &&field)
    {
        const std::size_t n = text_.size();
        if (i_ >= n)
            return false;
        line_ = nextLine_;
        for (std::size_t index = 0;; ++index) {
            value_.clear();
            while (i_ < n && isBlank(text_[i_]))
                ++i_;
            if (i_ < n && text_[i_] == '"') {
                const int opened = nextLine_;
                ++i_;
                for (;;) {
                    const std::size_t stop = text_.find_first_of("\"\r\n", i_);
                    if (stop == std::string_view::npos) {
                        unclosed = opened;
                        i_ = n;
                        return false;
                    }
                    value_.append(text_.substr(i_, stop - i_));
                    i_ = stop + 1;
                    if (text_[stop] == '"') {
                        if (i_ < n && text_[i_] == '"') {
                            value_ += '"';
                            ++i_;
                            continue;
                        }
                        break;
                    }
                    value_ += '\n';
                    ++nextLine_;
                    if (text_[stop] == '\r' && i_ < n && text_[i_] == '\n')
                        ++i_;
                }
            }
            const std::size_t start = i_;
            while (i_ < n && text_[i_] != delimiter_ && text_[i_] != '\r' && text_[i_] != '\n')
                ++i_;
            value_.append(text_.substr(start, i_ - start));
            field(index, trimmed(value_));
            if (i_ < n && text_[i_] == delimiter_) {
                ++i_;
                continue;
            }
            break;
        }
        if (i_ < n) {
            if (text_[i_] == '\r' && i_ + 1 < n && text_[i_ + 1] == '\n')
                ++i_;
            ++i_;
            ++nextLine_;
        }
        return true;
    }
    int line() const { return line_; } // where the last record read begins
    int unclosed = 0;

private:
    std::string_view text_;
    char delimiter_;
    std::size_t i_ = 0;
    int line_ = 1, nextLine_ = 1;
    std::string value_;
};

// The header line's delimiter: the one it holds more of outside quotes
// (with any lines of empty fields before it).
char findDelimiter(std::string_view text)
{
    std::size_t commas = 0, semicolons = 0;
    bool content = false, quoted = false;
    for (const char c : text) {
        if (quoted) {
            quoted = c != '"';
        } else if (c == '"') {
            quoted = content = true;
        } else if (c == ',') {
            ++commas;
        } else if (c == ';') {
            ++semicolons;
        } else if (c == '\r' || c == '\n') {
            if (content)
                break;
        } else if (!isBlank(c)) {
            content = true;
        }
    }
    return semicolons > commas ? ';' : ',';
}

enum Column { CategoryColumn, BoutColumn, AkaColumn, AoColumn, AkaClubColumn, AoClubColumn, RoundColumn, ColumnCount };
constexpr std::array<std::string_view, ColumnCount> kColumns = {"category", "bout",    "aka",  "ao",
                                                                "aka_club", "ao_club", "round"};
constexpr int kRequired = 4; // the first four

// "1" to "999999" (leading zeros allowed) as its value; 0 for anything else.
int boutNumber(std::string_view digits)
{
    if (digits.empty())
        return 0;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return 0;
        value = std::min(value * 10 + (c - '0'), kMaxBoutNumber + 1);
    }
    return value <= kMaxBoutNumber ? value : 0;
}

// A value in a message, on one line and at most 40 bytes of it.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    std::size_t end = std::min<std::size_t>(text.size(), 40);
    while (end < text.size() && end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end; // not inside a character
    for (const char c : text.substr(0, end))
        out += c == '\n' || c == '\t' ? ' ' : c;
    return out + (end < text.size() ? "\u2026\"" : "\"");
}

// For each node, its strongly connected component (Tarjan's, without recursion).
std::vector<int> components(const std::vector<std::array<int, 2>> &edges)
{
    const int n = int(edges.size());
    std::vector<int> component(edges.size(), -1), index(edges.size(), -1), low(edges.size(), 0), stack;
    std::vector<char> onStack(edges.size(), 0);
    std::vector<std::pair<int, int>> calls; // node, next edge
    int counter = 0, count = 0;
    for (int root = 0; root < n; ++root) {
        if (index[root] >= 0)
            continue;
        const auto enter = [&](int v) {
            index[v] = low[v] = counter++;
            stack.push_back(v);
            onStack[v] = 1;
            calls.emplace_back(v, 0);
        };
        enter(root);
        while (!calls.empty()) {
            const int v = calls.back().first;
            if (calls.back().second < 2) {
                const int w = edges[v][calls.back().second++];
                if (w < 0)
                    continue;
                if (index[w] < 0)
                    enter(w);
                else if (onStack[w])
                    low[v] = std::min(low[v], index[w]);
                continue;
            }
            calls.pop_back();
            if (!calls.empty())
                low[calls.back().first] = std::min(low[calls.back().first], low[v]);
            if (low[v] == index[v]) {
                int w;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[w] = 0;
                    component[w] = count;
                } while (w != v);
                ++count;
            }
        }
    }
    return component;
}

} // namespace

Side readSide(std::string_view text, std::string_view club)
{
    Side s;
    if (text.empty())
        return s;
    const char first = lower(text.front());
    std::string_view digits = trimmed(text.substr(1));
    if ((first == 'w' || first == 'l') && !digits.empty()
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        s.kind = first == 'w' ? Side::Kind::Winner : Side::Kind::Loser;
        s.bout = boutNumber(digits); // 0: names no bout
        return s;
    }
    s.kind = Side::Kind::Performer;
    s.name = text;
    s.club = club;
    return s;
}

std::string sideCell(const Side &side)
{
    switch (side.kind) {
    case Side::Kind::Performer:
        return side.name;
    case Side::Kind::Winner:
        return "W " + std::to_string(side.bout);
    case Side::Kind::Loser:
        return "L " + std::to_string(side.bout);
    case Side::Kind::Bye:
        break;
    }
    return {};
}

bool isFinal(std::string_view round) { return equalsCaseBlind(trimmed(round), "final"); }
bool isBronze(std::string_view round) { return equalsCaseBlind(trimmed(round), "bronze"); }

std::variant<BoutList, std::vector<Fault>> readBoutList(std::string_view bytes, const Decoder &fromLocal8Bit)
{
    std::string text;
    if (std::optional<Fault> fault = decode(bytes, fromLocal8Bit, text))
        return std::vector<Fault>{*std::move(fault)};

    BoutList list;
    list.delimiter = findDelimiter(text);
    Records records(text, list.delimiter);
    std::vector<Fault> faults;
    const auto unclosed = [&] {
        if (records.unclosed > 0)
            faults.push_back({records.unclosed, "a quote opened here is never closed"});
    };

    // The header: the first line that is not blank.
    std::array<std::size_t, ColumnCount> at;
    at.fill(std::string_view::npos);
    int headerLine = 0;
    while (headerLine == 0) {
        bool blank = true;
        const bool read = records.next([&](std::size_t index, std::string_view name) {
            blank = blank && name.empty();
            for (std::size_t c = 0; c < kColumns.size(); ++c) {
                if (!equalsCaseBlind(name, kColumns[c]))
                    continue;
                if (at[c] != std::string_view::npos)
                    faults.push_back({records.line(), "the column " + quoted(kColumns[c]) + " appears twice"});
                at[c] = index;
            }
        });
        if (!read) {
            unclosed();
            if (faults.empty())
                faults.push_back({0, "the file is empty"});
            return faults;
        }
        if (!blank)
            headerLine = records.line();
        else
            at.fill(std::string_view::npos);
    }
    for (int c = 0; c < kRequired; ++c)
        if (at[c] == std::string_view::npos)
            faults.push_back({headerLine, "the column " + quoted(kColumns[c]) + " is missing"});
    if (!faults.empty())
        return faults;

    // The bouts, each checked on its own.
    struct Row {
        int line;
        std::array<std::string, ColumnCount> value;
        int category = -1; // with a valid category and number
        int number = 0;
        bool listed = false; // its number is the first of its category's
    };
    std::vector<Row> rows;
    std::unordered_map<std::string, int> categoryIndex;
    struct Numbers {
        std::unordered_map<int, int> row; // bout number -> row
        int final = 0;                    // its final's number
    };
    std::vector<Numbers> numbers;
    std::array<std::string, ColumnCount> value;
    for (;;) {
        bool blank = true;
        for (std::string &v : value)
            v.clear();
        if (!records.next([&](std::size_t index, std::string_view v) {
                blank = blank && v.empty();
                for (std::size_t c = 0; c < at.size(); ++c)
                    if (at[c] == index)
                        value[c] = v;
            }))
            break;
        if (blank)
            continue;
        Row row{records.line(), value};
        const std::string &category = row.value[CategoryColumn];
        const std::string &bout = row.value[BoutColumn];
        if (category.empty())
            faults.push_back({row.line, "the category is empty"});
        if (bout.empty())
            faults.push_back({row.line, "the bout number is empty"});
        else if ((row.number = boutNumber(bout)) == 0)
            faults.push_back({row.line,
                              "the bout number " + quoted(bout) + " is not a whole number from 1 to "
                                  + std::to_string(kMaxBoutNumber)});
        if (!category.empty() && row.number > 0) {
            const auto [it, added] = categoryIndex.try_emplace(category, int(numbers.size()));
            if (added)
                numbers.emplace_back();
            row.category = it->second;
            Numbers &known = numbers[std::size_t(row.category)];
            row.listed = known.row.try_emplace(row.number, int(rows.size())).second;
            if (!row.listed)
                faults.push_back(
                    {row.line, "bout " + std::to_string(row.number) + " is used twice in " + quoted(category)});
            if (row.listed && isFinal(row.value[RoundColumn])) {
                if (known.final > 0)
                    faults.push_back({row.line,
                                      "a second final in " + quoted(category) + " (bout " + std::to_string(known.final)
                                          + " is the first)"});
                else
                    known.final = row.number;
            }
        }
        rows.push_back(std::move(row));
    }
    unclosed();

    // The winners and losers named: bouts that exist and come earlier.
    std::vector<std::array<int, 2>> edges(rows.size(), {-1, -1});
    struct Reference {
        int from, side, to;
    };
    std::vector<Reference> references;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const Row &row = rows[r];
        if (row.category < 0)
            continue;
        for (int s = 0; s < 2; ++s) {
            const Side named = readSide(row.value[AkaColumn + s], {});
            if (named.kind != Side::Kind::Winner && named.kind != Side::Kind::Loser)
                continue;
            const auto &known = numbers[std::size_t(row.category)].row;
            const auto to = known.find(named.bout);
            if (to == known.end()) {
                faults.push_back({row.line,
                                  std::string(kColumns[AkaColumn + s]) + " " + quoted(row.value[AkaColumn + s])
                                      + ": there is no bout " + (named.bout > 0 ? std::to_string(named.bout) + " " : "")
                                      + "in " + quoted(row.value[CategoryColumn])});
                continue;
            }
            references.push_back({int(r), s, to->second});
            if (row.listed)
                edges[r][std::size_t(s)] = to->second;
        }
    }
    const std::vector<int> component = components(edges);
    for (const Reference &ref : references) {
        if (ref.to < ref.from)
            continue;
        const Row &row = rows[std::size_t(ref.from)];
        const std::string what =
            std::string(kColumns[AkaColumn + ref.side]) + " " + quoted(row.value[AkaColumn + ref.side]);
        const std::string target = std::to_string(rows[std::size_t(ref.to)].number);
        std::string message = what;
        if (ref.to == ref.from) {
            message += " forms a cycle: it names its own bout";
        } else if (row.listed && component[std::size_t(ref.from)] == component[std::size_t(ref.to)]) {
            message += " forms a cycle: bout ";
            message += target;
            message += " waits in turn for bout ";
            message += std::to_string(row.number);
        } else {
            message += " names bout ";
            message += target;
            message += ", which comes later in the list";
        }
        faults.push_back({row.line, std::move(message)});
    }

    if (faults.empty() && rows.empty())
        faults.push_back({0, "the file holds no bouts, only its header"});
    if (!faults.empty()) {
        std::stable_sort(faults.begin(), faults.end(), [](const Fault &a, const Fault &b) { return a.line < b.line; });
        return faults;
    }
    list.categories.resize(numbers.size());
    for (Row &row : rows) {
        Category &category = list.categories[std::size_t(row.category)];
        if (category.name.empty())
            category.name = row.value[CategoryColumn];
        category.bouts.push_back({row.value[CategoryColumn], row.number, std::move(row.value[RoundColumn]),
                                  readSide(row.value[AkaColumn], row.value[AkaClubColumn]),
                                  readSide(row.value[AoColumn], row.value[AoClubColumn]), row.line});
    }
    return list;
}

std::string describeFaults(const std::vector<Fault> &faults, std::size_t most)
{
    std::string message;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        const Fault &fault = faults[i];
        if (!message.empty())
            message += '\n';
        if (i == most) {
            const std::size_t rest = faults.size() - most;
            message += "And " + std::to_string(rest) + (rest == 1 ? " more fault." : " more faults.");
            break;
        }
        if (fault.line > 0) {
            message += "Line " + std::to_string(fault.line) + ": " + fault.what;
        } else if (!fault.what.empty()) {
            message += char(fault.what.front() >= 'a' && fault.what.front() <= 'z' ? fault.what.front() - 'a' + 'A'
                                                                                   : fault.what.front());
            message += fault.what.substr(1);
        }
        message += '.';
    }
    return message;
}

} // namespace competition
