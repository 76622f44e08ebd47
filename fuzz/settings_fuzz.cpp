// libFuzzer target for reading the settings file: any bytes must give a
// result, and a result that is written back must read the same.
#include "settings/settingsfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const settings::ReadResult result = settings::readSettings(bytes);
    if (result.linesRead < 0 || result.linesRead > settings::kLineCount)
        std::abort();

    // What the console would save from these values reads back unchanged,
    // apart from line breaks, which a line cannot hold.
    const settings::ReadResult again = settings::readSettings(settings::writeSettings(result.values));
    if (again.stop != settings::ReadStop::Complete || again.linesRead != settings::kLineCount)
        std::abort();
    if (again.values.mirrorConsole != result.values.mirrorConsole
        || again.values.mirrorScoreboard != result.values.mirrorScoreboard)
        std::abort();
    return 0;
}
