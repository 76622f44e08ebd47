#include "settings/settingsfile.h"

#include <array>
#include <charconv>
#include <system_error>

namespace settings {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view s, std::size_t i)
{
    while (i < s.size() && isDigit(s[i]))
        ++i;
    return i;
}

// Splits off up to seven lines; `count` tells how many were there.
struct Lines {
    std::array<std::string_view, kLineCount> text;
    int count = 0;
};

Lines splitLines(std::string_view bytes)
{
    Lines lines;
    std::size_t pos = 0;
    while (lines.count < kLineCount && pos < bytes.size()) {
        const std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.text[lines.count++] = bytes.substr(pos);
            break;
        }
        lines.text[lines.count++] = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

std::string withoutLineBreaks(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

} // namespace

std::optional<double> lineNumber(std::string_view line)
{
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && isBlank(line[begin]))
        ++begin;
    while (end > begin && isBlank(line[end - 1]))
        --end;
    std::string_view s = line.substr(begin, end - begin);

    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    // Check the whole form first: from_chars alone would accept a prefix.
    std::size_t i = skipDigits(s, 0);
    bool mantissa = i > 0;
    if (i < s.size() && (s[i] == '.' || s[i] == ',')) {
        const std::size_t frac = skipDigits(s, i + 1);
        mantissa = mantissa || frac > i + 1;
        i = frac;
    }
    if (!mantissa)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t exp = i + 1;
        if (exp < s.size() && (s[exp] == '+' || s[exp] == '-'))
            ++exp;
        const std::size_t expEnd = skipDigits(s, exp);
        if (expEnd == exp)
            return std::nullopt;
        i = expEnd;
    }
    if (i != s.size())
        return std::nullopt;

    std::string number(s);
    if (const auto comma = number.find(','); comma != std::string::npos)
        number[comma] = '.';
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || ptr != number.data() + number.size())
        return std::nullopt; // out of a double's range: no number to compare
    return negative ? -value : value;
}

ReadResult readSettings(std::string_view bytes)
{
    ReadResult result;
    result.values.utf8 = bytes.starts_with(kByteOrderMark);
    if (result.values.utf8)
        bytes.remove_prefix(kByteOrderMark.size());
    const Lines lines = splitLines(bytes);
    result.linesRead = lines.count;
    Settings &out = result.values;

    // A line that was not there reads as the empty text (lines 1, 2), as
    // zero (lines 3-5) or as unchecked (lines 6, 7).
    out.endSound = std::string(lines.text[0]);
    out.warningSound = std::string(lines.text[1]);

    // The three scales are all tested before any of them is taken.
    std::array<std::string, 3> scales{out.hScale, out.vScale, out.fontScale};
    for (int i = 0; i < 3 && 2 + i < lines.count; ++i) {
        const std::string_view line = lines.text[2 + i];
        const auto value = lineNumber(line);
        if (!value) {
            result.stop = ReadStop::BadScale;
            return result;
        }
        if (*value != 0.0) // zero keeps the design value
            scales[i] = std::string(line);
    }
    out.hScale = scales[0];
    out.vScale = scales[1];
    out.fontScale = scales[2];

    const auto checked = [&](int line, bool &box, ReadStop failure) {
        if (line >= lines.count)
            return true;
        const auto value = lineNumber(lines.text[line]);
        if (!value) {
            result.stop = failure;
            return false;
        }
        box = *value == 1.0;
        return true;
    };
    if (checked(5, out.mirrorConsole, ReadStop::BadInternal))
        checked(6, out.mirrorScoreboard, ReadStop::BadExternal);
    return result;
}

std::string writeSettings(const Settings &values)
{
    std::string out(values.utf8 ? kByteOrderMark : "");
    for (const std::string *text :
         {&values.endSound, &values.warningSound, &values.hScale, &values.vScale, &values.fontScale}) {
        out += withoutLineBreaks(*text);
        out += "\r\n";
    }
    out += values.mirrorConsole ? " 1 \r\n" : " 0 \r\n";
    out += values.mirrorScoreboard ? " 1 \r\n" : " 0 \r\n";
    return out;
}

} // namespace settings
