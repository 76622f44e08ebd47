#include "platform/wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

namespace platform::wav {

namespace {

void put(std::string &out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        out += char(value & 0xff);
}

enum class Encoding { Integer, Float };

struct Format {
    Encoding encoding;
    unsigned channels, rate, bits;
    std::uint32_t mask = 0; // the speakers of an extensible format's channels, in order; 0: not said
};

constexpr unsigned kPcm = 1, kFloat = 3, kExtensible = 0xfffe;

// The format chunk's body, or nothing where it is no format we play.
std::optional<Format> readFormat(std::string_view body)
{
    if (body.size() < 16)
        return std::nullopt;
    unsigned code = le(body, 0, 2);
    // WAVE_FORMAT_EXTENSIBLE names the real format in the first two bytes of
    // its sub-format GUID, after a size, valid bits and a channel mask.
    std::uint32_t mask = 0;
    if (code == kExtensible) {
        if (body.size() < 40 || le(body, 16, 2) < 22)
            return std::nullopt;
        mask = le(body, 20, 4);
        code = le(body, 24, 2);
    }
    const Format format{code == kFloat ? Encoding::Float : Encoding::Integer, le(body, 2, 2), le(body, 4, 4),
                        le(body, 14, 2), mask};
    const bool bits = format.encoding == Encoding::Integer
        ? format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32
        : format.bits == 32 || format.bits == 64;
    if ((code != kPcm && code != kFloat) || !bits || format.channels < 1 || format.channels > 8 || format.rate < 8000
        || format.rate > 192000)
        return std::nullopt;
    return format;
}

// One sample at `at`, as 16 bits.
std::int16_t sample(const Format &format, std::string_view data, std::size_t at)
{
    if (format.encoding == Encoding::Float) {
        double value = 0;
        if (format.bits == 32) {
            const std::uint32_t raw = le(data, at, 4);
            float f;
            std::memcpy(&f, &raw, 4);
            value = f;
        } else {
            const std::uint64_t raw = std::uint64_t(le(data, at + 4, 4)) << 32 | le(data, at, 4);
            std::memcpy(&value, &raw, 8);
        }
        if (std::isnan(value))
            return 0;
        return std::int16_t(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
    }
    // Integer samples: 8 bits are unsigned, wider ones signed; the top 16
    // bits are kept.
    if (format.bits == 8)
        return std::int16_t((int(std::uint8_t(data[at])) - 128) * 256);
    const std::size_t bytes = format.bits / 8;
    return std::int16_t(le(data, at + bytes - 2, 2));
}

// Whether four bytes can name a chunk: printable ASCII.
bool chunkName(std::string_view bytes)
{
    return bytes.size() == 4 && std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

// How much of each channel goes to the left and to the right of a stereo
// mix (Windows documents plain PCM headers for mono and stereo only): by
// the speaker of each channel, from the format's channel mask, or, where it
// says none, Windows' usual speakers for that many channels. Left and right
// speakers go to their side, the low-frequency channel nowhere, the others
// to both at -3 dB; each side is scaled to a gain of 1 in all, as ffmpeg
// mixes, so that nothing clips.
struct Gain {
    double left = 0, right = 0;
};
std::vector<Gain> stereoMix(const Format &format)
{
    // FL FR FC LFE BL BR FLC FRC BC SL SR TC TFL TFC TFR TBL TBC TBR, as bits 0 to 17.
    constexpr std::uint32_t kLeft = 1 << 0 | 1 << 4 | 1 << 6 | 1 << 9 | 1 << 12 | 1 << 15;
    constexpr std::uint32_t kRight = 1 << 1 | 1 << 5 | 1 << 7 | 1 << 10 | 1 << 14 | 1 << 17, kLowFrequency = 1 << 3;
    constexpr std::uint32_t kUsual[9] = {0, 0, 0, 0x7, 0x33, 0x37, 0x3f, 0x13f, 0x63f};
    std::uint32_t mask = format.mask ? format.mask : kUsual[format.channels];
    std::vector<Gain> gains(format.channels);
    Gain sum;
    for (Gain &gain : gains) {
        const std::uint32_t speaker = mask & (~mask + 1); // the lowest left; none once the mask runs out
        mask &= ~speaker;
        if (speaker & kLeft)
            gain.left = 1;
        else if (speaker & kRight)
            gain.right = 1;
        else if (!(speaker & kLowFrequency))
            gain = {std::numbers::sqrt2 / 2, std::numbers::sqrt2 / 2};
        sum.left += gain.left;
        sum.right += gain.right;
    }
    for (Gain &gain : gains) {
        // A side that no channel reaches gets what the other side gets.
        gain.left = sum.left > 0 ? gain.left / sum.left : gain.right / sum.right;
        gain.right = sum.right > 0 ? gain.right / sum.right : gain.left;
    }
    return gains;
}

} // namespace

std::optional<std::string> playable(std::string_view file)
{
    if (file.size() > kMaxFileSize || file.size() < 12 || file.substr(8, 4) != "WAVE")
        return std::nullopt;
    // RF64 keeps the sizes that do not fit 32 bits in the ds64 chunk, which comes first.
    const bool rf64 = file.substr(0, 4) == "RF64";
    if (!rf64 && file.substr(0, 4) != "RIFF")
        return std::nullopt;
    std::optional<Format> format;
    std::optional<std::string_view> data;
    std::optional<std::uint64_t> ds64Data;
    // The RIFF size is not trusted (a stream writes 0xFFFFFFFF): the chunks
    // run to the end of the file.
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::string_view id = file.substr(at, 4);
        const std::size_t rest = file.size() - at - 8;
        std::uint64_t length = le(file, at + 4, 4);
        if (id == "data" && !data) {
            // A stream to a pipe writes 0xFFFFFFFF, a recording that stopped before its header was finished 0:
            // the data runs to the end of the file.
            if (rf64 && length == 0xffffffff && ds64Data)
                length = *ds64Data;
            else if (length == 0xffffffff || length == 0)
                length = rest;
            if (length > rest)
                return std::nullopt; // cut short
            data = file.substr(at + 8, std::size_t(length));
        } else if (length > rest) {
            // Bytes after the last chunk that are no chunk (an ID3v1 tag, which tag editors append).
            if (format && data)
                break;
            return std::nullopt; // cut short
        }
        const std::string_view body = file.substr(at + 8, std::size_t(length));
        if (id == "ds64" && rf64 && at == 12 && body.size() >= 28)
            ds64Data = std::uint64_t(le(body, 12, 4)) << 32 | le(body, 8, 4);
        if (id == "fmt " && !format && !(format = readFormat(body)))
            return std::nullopt;
        // An odd chunk is followed by a pad byte, which some writers leave out. Written, it is 0, which no
        // chunk's name begins with.
        at += 8 + std::size_t(length);
        if (length % 2 && !chunkName(file.substr(at, 4)))
            ++at;
    }
    if (!format || !data)
        return std::nullopt;

    const std::size_t sampleBytes = format->bits / 8, frame = format->channels * sampleBytes;
    const std::size_t frames = data->size() / frame;
    if (frames == 0)
        return std::nullopt;
    // More than two channels are mixed down to stereo.
    const unsigned channels = std::min(format->channels, 2u);
    const std::vector<Gain> mix = format->channels > 2 ? stereoMix(*format) : std::vector<Gain>();
    const std::size_t tail = std::size_t(std::lround(kTailSeconds * format->rate));
    const std::size_t dataBytes = (frames + tail) * channels * 2;

    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put(out, std::uint32_t(36 + dataBytes), 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, kPcm, 2);
    put(out, channels, 2);
    put(out, format->rate, 4);
    put(out, format->rate * channels * 2, 4);
    put(out, channels * 2, 2);
    put(out, 16, 2);
    out += "data";
    put(out, std::uint32_t(dataBytes), 4);
    if (mix.empty()) {
        for (std::size_t at = 0; at < frames * frame; at += sampleBytes)
            put(out, std::uint16_t(sample(*format, *data, at)), 2);
    } else {
        for (std::size_t at = 0; at < frames * frame; at += frame) {
            Gain sum;
            for (std::size_t c = 0; c < mix.size(); ++c) {
                const double value = sample(*format, *data, at + c * sampleBytes);
                sum.left += mix[c].left * value;
                sum.right += mix[c].right * value;
            }
            put(out, std::uint16_t(std::int16_t(std::clamp(std::lround(sum.left), -32768l, 32767l))), 2);
            put(out, std::uint16_t(std::int16_t(std::clamp(std::lround(sum.right), -32768l, 32767l))), 2);
        }
    }
    out.append(tail * channels * 2, '\0');
    return out;
}

std::uint32_t le(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

} // namespace platform::wav
