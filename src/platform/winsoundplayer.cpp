// The sound player on Windows: PlaySoundW of the Windows multimedia API,
// asynchronous, every sound from memory: the built-in signals from the
// program's resources, the operator's files as SoundFiles read them (with
// Qt's wide-character file access, so any file name works). Nothing is
// opened by name at the moment of playing, and PlaySoundW, which may wait on
// the audio device (opening it, stopping the sound that plays), is called on
// a thread of its own: the console and the clock never wait for it. A sound
// is said to have started once PlaySoundW took it; where it refuses the
// operator's file, the built-in signal plays.
#include "platform/sound.h"

#include <QFile>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// windows.h first: mmsystem.h needs its types.
#include <windows.h>

#include <mmsystem.h>

namespace platform {

namespace {

std::size_t indexOf(Signal signal) { return signal == Signal::Warning ? 0 : 1; }

// Looked up once for the whole program: no retrying, no second message.
bool machineHasOutput()
{
    static const bool found = [] {
        if (waveOutGetNumDevs() > 0)
            return true;
        SoundPlayer::sayNoOutput({QStringLiteral("no wave output device")});
        return false;
    }();
    return found;
}

// A sound to play, named as started() names it; and what plays in its place
// where PlaySoundW refuses it (empty: nothing).
struct Request {
    QByteArray wav;
    QString source;
    QByteArray fallback;
    QString fallbackSource;
};

// The thread that calls PlaySoundW. It takes the latest request only: a new
// one supersedes any not yet begun. An empty sound stops what plays. A sound
// that PlaySoundW refuses is not said to have started; its fallback plays.
class Playing {
public:
    explicit Playing(std::shared_ptr<PlayerLink> link) : m_state(std::make_shared<State>())
    {
        m_state->link = std::move(link);
        std::thread([state = m_state] { run(*state); }).detach();
    }
    ~Playing()
    {
        std::unique_lock lock(m_state->mutex);
        m_state->quit = true;
        m_state->wake.notify_all();
        // A device that hangs must not hold the program's end: the thread,
        // sharing its state, goes on alone then.
        m_state->wake.wait_for(lock, std::chrono::seconds(2), [this] { return m_state->ended; });
    }
    void request(Request request)
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->next = std::move(request);
        m_state->pending = true;
        m_state->wake.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        Request next;
        bool pending = false, quit = false, ended = false;
        std::shared_ptr<PlayerLink> link;
    };
    static void tell(PlayerLink &link, const QString &source)
    {
        const std::lock_guard lock(link.mutex);
        if (SoundPlayer *player = link.player)
            QMetaObject::invokeMethod(
                player, [player, source] { emit player->started(source); }, Qt::QueuedConnection);
    }
    static void run(State &state)
    {
        QByteArray playing; // kept while PlaySoundW reads it
        std::unique_lock lock(state.mutex);
        for (;;) {
            state.wake.wait(lock, [&state] { return state.pending || state.quit; });
            if (state.quit)
                break;
            const Request request = std::exchange(state.next, Request());
            state.pending = false;
            lock.unlock();
            PlaySoundW(nullptr, nullptr, 0); // returns once the sound has stopped: then its bytes may go
            for (const auto &[wav, source] :
                 {std::pair(request.wav, request.source), std::pair(request.fallback, request.fallbackSource)}) {
                playing = wav;
                if (playing.isEmpty())
                    break;
                if (PlaySoundW(reinterpret_cast<LPCWSTR>(playing.constData()), nullptr,
                               SND_MEMORY | SND_ASYNC | SND_NODEFAULT)) {
                    tell(*state.link, source);
                    break;
                }
            }
            lock.lock();
        }
        lock.unlock();
        PlaySoundW(nullptr, nullptr, 0);
        lock.lock();
        state.ended = true;
        state.wake.notify_all();
    }

    std::shared_ptr<State> m_state;
};

class WinSoundPlayer final : public SoundPlayer {
public:
    WinSoundPlayer(std::shared_ptr<FileAccess> files, QObject *parent)
        : SoundPlayer(std::move(files), false, parent), m_hasOutput(machineHasOutput())
    {
        for (Signal signal : {Signal::Warning, Signal::End}) {
            QFile resource(builtInSignal(signal));
            if (resource.open(QIODevice::ReadOnly))
                m_builtIn[indexOf(signal)] = resource.readAll();
        }
        const std::lock_guard lock(m_link->mutex);
        m_link->player = this;
    }
    ~WinSoundPlayer() override
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->player = nullptr; // nothing more is told to this player
    }

    bool hasOutput() const override { return m_hasOutput; }
    bool ready(Signal signal) const override
    {
        const std::optional<SoundFiles::Prepared> &prepared = file(signal);
        return prepared && !prepared->wav.isEmpty();
    }

protected:
    void fileChanged(Signal) override {} // played from memory as it is

    void playFile(Signal signal, const QString &path) override
    {
        m_playing.request({file(signal)->wav, path, m_builtIn[indexOf(signal)], builtInSignal(signal)});
    }

    void playBuiltIn(Signal signal) override
    {
        m_playing.request({m_builtIn[indexOf(signal)], builtInSignal(signal), {}, {}});
    }

    void stop() override { m_playing.request({}); }

private:
    bool m_hasOutput = false;
    std::array<QByteArray, 2> m_builtIn;
    std::shared_ptr<PlayerLink> m_link = std::make_shared<PlayerLink>();
    Playing m_playing{m_link};
};

} // namespace

std::unique_ptr<SoundPlayer> SoundPlayer::make(std::shared_ptr<FileAccess> files, QObject *parent)
{
    return std::make_unique<WinSoundPlayer>(std::move(files), parent);
}

} // namespace platform
