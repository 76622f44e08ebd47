// libFuzzer target for the WAV rule: any bytes give no sound or a plain
// 16-bit PCM WAV, mono or stereo, whose sizes agree; and that WAV, read
// again, gives its own samples with one more tail of silence.
#include "platform/wav.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using platform::wav::le;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::optional<std::string> out =
        platform::wav::playable(std::string_view(reinterpret_cast<const char *>(data), size));
    if (!out)
        return 0;
    const std::string_view wav = *out;
    const unsigned channels = le(wav, 22, 2), rate = le(wav, 24, 4);
    if (wav.size() < 44 || wav.substr(0, 4) != "RIFF" || le(wav, 4, 4) != wav.size() - 8
        || wav.substr(8, 8) != "WAVEfmt " || le(wav, 16, 4) != 16 || le(wav, 20, 2) != 1
        || (channels != 1 && channels != 2) || rate < 8000 || rate > 192000 || le(wav, 28, 4) != rate * channels * 2
        || le(wav, 32, 2) != channels * 2 || le(wav, 34, 2) != 16 || wav.substr(36, 4) != "data"
        || le(wav, 40, 4) != wav.size() - 44 || (wav.size() - 44) % (channels * 2))
        std::abort();
    const std::size_t tail = std::size_t(std::lround(platform::wav::kTailSeconds * rate)) * channels * 2;
    if (wav.size() - 44 <= tail)
        std::abort(); // no frame of sound
    const std::optional<std::string> again = platform::wav::playable(wav);
    if (!again || again->size() != wav.size() + tail || again->compare(44, wav.size() - 44, wav, 44) != 0)
        std::abort();
    return 0;
}
