#include "common/numeric.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace common {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t digitsFrom(std::string_view text, std::size_t pos)
{
    std::size_t end = pos;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end;
}

} // namespace

double numericValue(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;

    const std::size_t intEnd = digitsFrom(text, start);
    std::size_t end = intEnd;
    if (end < text.size() && text[end] == '.')
        end = digitsFrom(text, end + 1); // a lone point reads as nothing below
    if (end == start)
        return 0.0;

    const std::string_view run = text.substr(start, end - start);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(run.data(), run.data() + run.size(), value, std::chars_format::fixed);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too many digits before the point overflows; anything else underflows.
        const std::string_view whole = text.substr(start, intEnd - start);
        const bool large = whole.find_first_not_of('0') != std::string_view::npos;
        return large ? std::numeric_limits<double>::max() : 0.0;
    }
    return value;
}

} // namespace common
