#include "platform/terminal.h"

#include <cstdio>
#include <io.h>
#include <windows.h>

namespace platform {

namespace {

// Whether a standard stream was sent to a file or a pipe (taikan --help > help.txt).
bool redirected(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    const DWORD type = handle && handle != INVALID_HANDLE_VALUE ? GetFileType(handle) : FILE_TYPE_UNKNOWN;
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

} // namespace

void attachTerminal()
{
    // A program of the GUI subsystem starts without a console: from cmd or
    // PowerShell its output goes nowhere, unless it was redirected to a file
    // or a pipe, which the C library already writes to.
    const bool output = redirected(STD_OUTPUT_HANDLE), error = redirected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return; // all redirected, or started from Explorer: no console to join
    if (!output)
        std::freopen("CONOUT$", "w", stdout);
    if (!error)
        std::freopen("CONOUT$", "w", stderr);
}

void print(Stream stream, const QString &text)
{
    if (text.isEmpty())
        return;
    std::FILE *file = stream == Stream::Output ? stdout : stderr;
    std::fflush(file);
    // A console takes the text as it is, whatever its code page (paths with
    // letters of any language); a file or a pipe gets the ANSI code page.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        WriteConsoleW(handle, reinterpret_cast<const wchar_t *>(text.utf16()), DWORD(text.size()), &written, nullptr);
        return;
    }
    std::fputs(text.toLocal8Bit().constData(), file);
    std::fflush(file);
}

} // namespace platform
