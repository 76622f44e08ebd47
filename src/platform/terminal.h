#pragma once

#include <QString>

// The terminal the program was started from, for the command line's answers
// (--help, --version, a refused option).
namespace platform {

enum class Stream { Output, Error };

// Lets standard output and error reach the terminal the program was started
// from. A program with windows of its own gets no terminal on Windows: there
// it joins its parent's console, where it has one; output redirected to a
// file or a pipe goes there as it is. Call before print().
void attachTerminal();

// Writes `text` to standard output or error, in the terminal's encoding.
void print(Stream stream, const QString &text);

} // namespace platform
