#pragma once

#include <QString>

namespace ui {

enum class Signal { Warning, End };

class Sounds {
public:
    virtual ~Sounds() = default;
    // Plays the WAV file at `path` as it is now, or the built-in `fallback`
    // signal when `path` is empty or no playable WAV. Returns at once; the
    // sound plays on its own, and a new request stops one still playing.
    virtual void play(const QString &path, Signal fallback) = 0;
};

} // namespace ui
