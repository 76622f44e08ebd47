#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

class QSoundEffect;

// The two signals of the match clock: the warning at 0:10 and the end of the
// match at 0:00. Each plays the WAV file the operator named in the setup
// strip, or the program's own signal where that file cannot be played.
namespace platform {

enum class Signal { Warning, End };

class Sounds {
public:
    virtual ~Sounds() = default;
    // Plays the WAV file at `path` as it is now, or the built-in `fallback`
    // signal when `path` is empty or no playable WAV. Returns at once; the
    // sound plays on its own, and a new request stops one still playing.
    virtual void play(const QString &path, Signal fallback) = 0;
};

// Where a built-in signal lies among the program's resources.
QString builtInSignal(Signal signal);

// Plays through Qt Multimedia on the default audio output. Belongs to the
// GUI thread.
//
// A playable file is a complete RIFF WAVE file of integer PCM (8, 16, 24 or
// 32 bits, 1 to 8 channels, 8 to 192 kHz) of at most kMaxFileSize bytes that
// Qt loads; anything else gets the built-in signal. Qt 6.4 drops the last
// 0.15 s or so of every sound effect, so the built-in signals end in silence.
//
// Whether the machine has any audio output is looked up once, when the first
// player is made; without one, the program says so once on standard error and
// every request returns without a sound. That look-up is quick, except with a
// sound server that takes connections and never answers: then it waits for
// the sound library's own time-out (30 s). Make the player before the match
// clock runs.
class SoundPlayer final : public QObject, public Sounds {
    Q_OBJECT

public:
    explicit SoundPlayer(QObject *parent = nullptr);
    ~SoundPlayer() override;

    void play(const QString &path, Signal fallback) override;

    // False where the machine has no audio output.
    bool hasOutput() const { return m_hasOutput; }

    // Files larger than this are not loaded; the built-in signal plays instead.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

signals:
    // A sound has begun: the operator's file (`source` is the path as given
    // to play()) or a built-in signal (`source` is its builtInSignal()).
    void started(const QString &source);

private:
    void stopAll();
    void playBuiltIn(Signal signal);

    bool m_hasOutput = false;
    std::array<QSoundEffect *, 2> m_builtIn{};
    std::array<bool, 2> m_builtInWaiting{}; // asked for while still loading
    QPointer<QSoundEffect> m_file;
    quint64 m_request = 0; // numbers the requests, to give each file a fresh address
};

// The program's player, made on first use as a child of the application
// object and deleted with it. Needs a QCoreApplication.
Sounds &systemSounds();

} // namespace platform
