#pragma once

// A stand-in for the program's sounds: it writes down what the program asks to hear instead of playing it.
#include "platform/sound.h"

#include <QList>
#include <QString>

namespace testing {

struct SoundRequest {
    QString path;
    platform::Signal fallback;
    friend bool operator==(const SoundRequest &, const SoundRequest &) = default;
};

class RecordedSounds final : public platform::Sounds {
public:
    void choose(platform::Signal, const QString &) override {}
    void play(const QString &path, platform::Signal fallback) override { requests.append({path, fallback}); }
    QList<SoundRequest> requests;
};

} // namespace testing
