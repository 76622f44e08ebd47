#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// WAV files as sound editors, recorders and phones write them, made into
// what every player takes safely.
namespace platform::wav {

// Larger files are not read: no signal is that long.
inline constexpr std::size_t kMaxFileSize = std::size_t{16} * 1024 * 1024;

// Silence after the sound. Sound servers drop what is still queued when a
// short sound ends (about 0.15 s); this way they drop silence.
inline constexpr double kTailSeconds = 0.25;

// The sound of the WAV file `file` as a plain one: a 44-byte header, 16-bit
// PCM of the same rate, mono or stereo, then kTailSeconds of silence. Nothing
// where `file` is no sound this program plays.
//
// Taken: a RIFF WAVE file of at most kMaxFileSize bytes with a format chunk
// and a data chunk in either order, other chunks (LIST, bext, fact, JUNK,
// ...) of any size before or after them, odd-sized chunks with or without
// their pad byte, the RIFF size of a stream, and bytes after the last chunk
// that are no chunk (an ID3v1 tag) once both were found. A data chunk whose
// size is 0xFFFFFFFF (a stream) or 0 (a recording whose header was never
// finished) runs to the end of the file. RF64 takes the data chunk's size
// from its ds64 chunk. Samples of integer PCM (8, 16, 24 or 32 bits) or IEEE
// float (32 or 64 bits), also inside WAVE_FORMAT_EXTENSIBLE; 1 to 8 channels,
// more than two mixed down to stereo by their speakers; 8 to 192 kHz.
// Compressed formats (ADPCM, A-law, mu-law) are not taken. A data chunk that
// the file cuts short, or that holds no whole frame, is no sound; a part of
// a frame after the last whole one is left out.
std::optional<std::string> playable(std::string_view file);

// The unsigned little-endian number of `size` bytes (1 to 4) at `at`.
std::uint32_t le(std::string_view bytes, std::size_t at, int size);

} // namespace platform::wav
