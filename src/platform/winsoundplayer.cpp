// The sound player on Windows: PlaySoundW of the Windows multimedia API,
// asynchronous, every sound from memory: the built-in signals from the
// program's resources, the operator's files as SoundFiles read them (with
// Qt's wide-character file access, so any file name works). Nothing is
// opened by name at the moment of playing.
#include "platform/sound.h"

#include <QFile>
#include <array>

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
    ~WinSoundPlayer() override { stop(); }

    bool hasOutput() const override { return m_hasOutput; }
    bool ready(Signal signal) const override
    {
        const std::optional<SoundFiles::Prepared> &prepared = file(signal);
        return prepared && !prepared->wav.isEmpty();
    }

protected:
    void fileChanged(Signal) override {} // played from memory as it is

    void playFile(Signal signal) override { start(file(signal)->wav); }

    void playBuiltIn(Signal signal) override
    {
        if (start(m_builtIn[indexOf(signal)]))
            emit started(builtInSignal(signal));
    }

    void stop() override
    {
        // Returns once the sound has stopped: then its bytes may go.
        PlaySoundW(nullptr, nullptr, 0);
        m_playing.clear();
    }

private:
    bool start(const QByteArray &wav)
    {
        if (wav.isEmpty())
            return false;
        m_playing = wav; // shared: kept while PlaySoundW reads it, whatever is prepared meanwhile
        return PlaySoundW(reinterpret_cast<LPCWSTR>(m_playing.constData()), nullptr,
                          SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    }

    bool m_hasOutput = false;
    std::array<QByteArray, 2> m_builtIn;
    QByteArray m_playing;
};

} // namespace

std::unique_ptr<SoundPlayer> SoundPlayer::make(std::shared_ptr<FileAccess> files, QObject *parent)
{
    return std::make_unique<WinSoundPlayer>(std::move(files), parent);
}

} // namespace platform
