#include "platform/wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace platform::wav {

namespace {

std::uint32_t le(std::string_view bytes, std::size_t at, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | std::uint8_t(bytes[at + std::size_t(i)]);
    return value;
}

void put(std::string &out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i, value >>= 8)
        out += char(value & 0xff);
}

enum class Encoding { Integer, Float };

struct Format {
    Encoding encoding;
    unsigned channels, rate, bits;
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
    if (code == kExtensible) {
        if (body.size() < 40 || le(body, 16, 2) < 22)
            return std::nullopt;
        code = le(body, 24, 2);
    }
    const Format format{code == kFloat ? Encoding::Float : Encoding::Integer, le(body, 2, 2), le(body, 4, 4),
                        le(body, 14, 2)};
    const bool bits = format.encoding == Encoding::Integer
        ? format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32
        : format.bits == 32 || format.bits == 64;
    if ((code != kPcm && code != kFloat) || !bits || format.channels < 1 || format.channels > 8
        || format.rate < 8000 || format.rate > 192000)
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

} // namespace

std::optional<std::string> playable(std::string_view file)
{
    if (file.size() > kMaxFileSize || file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<Format> format;
    std::optional<std::string_view> data;
    // The RIFF size is not trusted (a stream writes 0xFFFFFFFF): the chunks
    // run to the end of the file.
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::string_view id = file.substr(at, 4);
        const std::size_t length = le(file, at + 4, 4);
        if (length > file.size() - at - 8)
            return std::nullopt; // cut short
        const std::string_view body = file.substr(at + 8, length);
        if (id == "fmt " && !format && !(format = readFormat(body)))
            return std::nullopt;
        if (id == "data" && !data)
            data = body;
        // An odd chunk is followed by a pad byte, which some writers leave out.
        at += 8 + length;
        if (length % 2 && !(chunkName(file.substr(at, 4)) && !chunkName(file.substr(at + 1, 4))))
            ++at;
    }
    if (!format || !data)
        return std::nullopt;

    const std::size_t frame = format->channels * format->bits / 8;
    const std::size_t frames = data->size() / frame;
    if (frames == 0)
        return std::nullopt;
    const std::size_t tail = std::size_t(std::lround(kTailSeconds * format->rate));
    const std::size_t dataBytes = (frames + tail) * format->channels * 2;

    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put(out, std::uint32_t(36 + dataBytes), 4);
    out += "WAVEfmt ";
    put(out, 16, 4);
    put(out, kPcm, 2);
    put(out, format->channels, 2);
    put(out, format->rate, 4);
    put(out, format->rate * format->channels * 2, 4);
    put(out, format->channels * 2, 2);
    put(out, 16, 2);
    out += "data";
    put(out, std::uint32_t(dataBytes), 4);
    for (std::size_t at = 0; at < frames * frame; at += format->bits / 8)
        put(out, std::uint16_t(sample(*format, *data, at)), 2);
    out.append(tail * format->channels * 2, '\0');
    return out;
}

} // namespace platform::wav
