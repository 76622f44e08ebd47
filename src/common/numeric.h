#pragma once

#include <string_view>

namespace common {

// The numeric value of a text: leading blanks (spaces, tabs) are skipped,
// then the longest run of the form  digits,  digits "." digits  or  "." digits
// is read as a decimal number. A text with no such run there (the empty text,
// "x1", "-5") has the value 0. Signs are never read, so the value is never
// negative; a run too large for a double reads as the largest finite double,
// one too small as 0, so the value is always finite.
double numericValue(std::string_view text);

} // namespace common
