// The sound player on Windows: PlaySoundW of the Windows multimedia API,
// asynchronous, every sound from memory: the built-in signals from the
// program's resources, the operator's files as SoundFiles read them (with
// Qt's wide-character file access, so any file name works). Nothing is
// opened by name at the moment of playing, and PlaySoundW, which may wait on
// the audio device (opening it, stopping the sound that plays), is called on
// a thread of its own: the console and the clock never wait for it.
#include "platform/sound.h"

#include <QFile>
#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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

// The thread that calls PlaySoundW. It takes the latest request only: a new
// one supersedes any not yet begun. An empty sound stops what plays.
class Playing {
public:
    Playing() : m_state(std::make_shared<State>())
    {
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
    void request(const QByteArray &wav)
    {
        const std::lock_guard lock(m_state->mutex);
        m_state->next = wav;
        m_state->pending = true;
        m_state->wake.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable wake;
        QByteArray next;
        bool pending = false, quit = false, ended = false;
    };
    static void run(State &state)
    {
        QByteArray playing; // kept while PlaySoundW reads it
        std::unique_lock lock(state.mutex);
        for (;;) {
            state.wake.wait(lock, [&state] { return state.pending || state.quit; });
            if (state.quit)
                break;
            const QByteArray wav = std::exchange(state.next, QByteArray());
            state.pending = false;
            lock.unlock();
            PlaySoundW(nullptr, nullptr, 0); // returns once the sound has stopped: then its bytes may go
            playing = wav;
            if (!playing.isEmpty())
                PlaySoundW(reinterpret_cast<LPCWSTR>(playing.constData()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
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
    }

    bool hasOutput() const override { return m_hasOutput; }
    bool ready(Signal signal) const override
    {
        const std::optional<SoundFiles::Prepared> &prepared = file(signal);
        return prepared && !prepared->wav.isEmpty();
    }

protected:
    void fileChanged(Signal) override {} // played from memory as it is

    void playFile(Signal signal) override { m_playing.request(file(signal)->wav); }

    void playBuiltIn(Signal signal) override
    {
        const QByteArray &wav = m_builtIn[indexOf(signal)];
        if (wav.isEmpty())
            return;
        m_playing.request(wav);
        emit started(builtInSignal(signal));
    }

    void stop() override { m_playing.request({}); }

private:
    bool m_hasOutput = false;
    std::array<QByteArray, 2> m_builtIn;
    Playing m_playing;
};

} // namespace

std::unique_ptr<SoundPlayer> SoundPlayer::make(std::shared_ptr<FileAccess> files, QObject *parent)
{
    return std::make_unique<WinSoundPlayer>(std::move(files), parent);
}

} // namespace platform
