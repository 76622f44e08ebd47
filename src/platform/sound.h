#pragma once

#include "platform/soundfiles.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>

class QTemporaryDir;

// The two signals of the match clock: the warning at 0:10 and the end of the
// match at 0:00. Each plays the WAV file the operator named in the setup
// strip, or the program's own signal where that file cannot be played.
namespace platform {

enum class Signal { Warning, End };

class Sounds {
public:
    virtual ~Sounds() = default;
    // The operator's file for `signal` is now the one at `path`. Gets it
    // ready to play, away from the caller's thread.
    virtual void choose(Signal signal, const QString &path) = 0;
    // Plays the operator's file for `fallback`, the one at `path`, as it was
    // last read; the built-in `fallback` signal where it is not (yet) ready
    // or no playable WAV. Returns at once without touching the file system;
    // the sound plays on its own, and a new request stops one still playing.
    virtual void play(const QString &path, Signal fallback) = 0;
};

// Where a built-in signal lies among the program's resources.
QString builtInSignal(Signal signal);

// The platform's player: the choice of the two files and what plays, common
// to every platform; how a sound reaches the audio output is each
// platform's own (Qt Multimedia on Linux, the Windows multimedia API).
//
// Whether the machine has any audio output is looked up once, when the first
// player is made; without one, the program says so once on standard error and
// every request returns without a sound. Make the player before the match
// clock runs. Belongs to the GUI thread.
class SoundPlayer : public QObject, public Sounds {
    Q_OBJECT
public:
    ~SoundPlayer() override;

    void choose(Signal signal, const QString &path) override;
    void play(const QString &path, Signal fallback) override;

    // False where the machine has no audio output.
    virtual bool hasOutput() const = 0;
    // Whether the operator's file for `signal` plays as itself now.
    virtual bool ready(Signal signal) const = 0;
    // The one line on standard error of a machine without audio output.
    static void sayNoOutput(const QStringList &reasons);
    // What the player knows of the operator's files.
    const SoundFiles &files() const { return m_files; }

    // The player that this build of the program plays with.
    static std::unique_ptr<SoundPlayer> make(std::shared_ptr<FileAccess> files = realFiles(),
                                             QObject *parent = nullptr);

signals:
    // A sound has begun: the operator's file (`source` is the path as given
    // to play()) or a built-in signal (`source` is its builtInSignal()).
    void started(const QString &source);

protected:
    // `copies`: the player plays files by name, and wants local copies.
    SoundPlayer(std::shared_ptr<FileAccess> files, bool copies, QObject *parent);

    // The operator's file for `signal` as last read.
    const std::optional<SoundFiles::Prepared> &file(Signal signal) const;
    // It was read (again): get ready to play it.
    virtual void fileChanged(Signal signal) = 0;
    // Plays the operator's prepared file for `signal`, which is ready(), and
    // says started(path) once it has begun; where the audio output refuses
    // it, the built-in signal plays in its place, said as such.
    virtual void playFile(Signal signal, const QString &path) = 0;
    // Plays the built-in signal, and says started() once it has begun
    // (nothing where the audio output refuses it).
    virtual void playBuiltIn(Signal signal) = 0;
    // Stops whatever plays.
    virtual void stop() = 0;

private:
    std::unique_ptr<QTemporaryDir> m_copies;
    SoundFiles m_files;
};

// A player as a thread of its own reaches it, to say what it started: none
// once the player is gone, also where that thread outlives it (a sound
// server that froze, an audio device that hangs).
struct PlayerLink {
    std::mutex mutex;
    SoundPlayer *player = nullptr;
};

// The program's player, made on first use as a child of the application
// object and deleted with it. Needs a QCoreApplication.
Sounds &systemSounds();

} // namespace platform
