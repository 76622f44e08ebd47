// The sound player on Linux: Qt Multimedia's sound effects on the default
// audio output.
#include "platform/sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QList>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>
#include <array>
#include <cstdio>
#include <memory>
#include <mutex>

namespace platform {

namespace {

std::size_t indexOf(Signal signal) { return signal == Signal::Warning ? 0 : 1; }

// What the sound thread tells the player.
class QtSoundPlayerCalls {
public:
    virtual ~QtSoundPlayerCalls() = default;
    virtual void begun(const QString &source) = 0;           // a built-in signal started
    virtual void loaded(Signal signal, quint64 version) = 0; // that version of the file can play
};

// What Qt says while the audio outputs are looked up. Without a sound server
// Qt Multimedia complains in its own words; the program says it once in its
// own line instead, with Qt's words as the reason.
struct ProbeMessage {
    QtMsgType type;
    QString text;
};
QThread *probingThread = nullptr;
QList<ProbeMessage> *probeMessages = nullptr;
QtMessageHandler handlerBeforeProbe = nullptr;

void passOn(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (handlerBeforeProbe)
        handlerBeforeProbe(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

void collectDuringProbe(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (QThread::currentThread() == probingThread)
        probeMessages->append({type, text});
    else
        passOn(type, context, text);
}

bool lookForOutput()
{
    QList<ProbeMessage> said;
    probingThread = QThread::currentThread();
    probeMessages = &said;
    handlerBeforeProbe = qInstallMessageHandler(collectDuringProbe);
    const bool found = !QMediaDevices::audioOutputs().isEmpty();
    qInstallMessageHandler(handlerBeforeProbe);
    probingThread = nullptr;
    probeMessages = nullptr;

    if (found) {
        for (const ProbeMessage &message : said)
            passOn(message.type, QMessageLogContext(), message.text);
        return true;
    }
    QStringList reasons;
    for (const ProbeMessage &message : said)
        reasons.append(message.text.simplified());
    SoundPlayer::sayNoOutput(reasons);
    return false;
}

// Looked up once for the whole program: no retrying, no second message.
// That look-up is quick, except with a sound server that takes connections
// and never answers: then it waits for the sound library's own time-out.
bool machineHasOutput()
{
    static const bool found = lookForOutput();
    return found;
}

// The sound effects and everything that waits on the sound server live on a
// thread of their own: starting a sound takes Qt some milliseconds of talking
// to the server, and a server that froze would hold whoever asked. The GUI
// thread only hands requests over.
//
// Each sound is loaded into a sound effect before it is asked for, the
// operator's files from the local copies of what SoundFiles prepared: Qt
// reads them on a loading thread of its own, and never a file that could
// stall.
class Effects : public QObject {
public:
    explicit Effects(std::shared_ptr<PlayerLink> link) : m_link(std::move(link)) {}

    // On the sound thread, once it runs.
    void start()
    {
        for (Signal signal : {Signal::Warning, Signal::End}) {
            auto *effect = new QSoundEffect(this);
            m_builtIn[indexOf(signal)] = effect;
            connect(effect, &QSoundEffect::statusChanged, this, [this, effect, signal] {
                bool &waiting = m_builtInWaiting[indexOf(signal)];
                if (effect->status() == QSoundEffect::Ready && waiting) {
                    waiting = false;
                    tell([signal](QtSoundPlayerCalls &player) { player.begun(builtInSignal(signal)); });
                }
            });
            effect->setSource(QUrl(QLatin1String("qrc") + builtInSignal(signal)));
        }
    }
    // Loads a local copy for `signal` (empty: none), and tells once it can play.
    void load(Signal signal, const QString &copy, quint64 version)
    {
        QPointer<QSoundEffect> &effect = m_file[indexOf(signal)];
        if (effect) {
            effect->stop();
            effect->deleteLater();
        }
        effect = nullptr;
        if (copy.isEmpty())
            return;
        effect = new QSoundEffect(this);
        QSoundEffect *loading = effect;
        connect(loading, &QSoundEffect::statusChanged, this, [this, loading, signal, version] {
            if (loading->status() == QSoundEffect::Ready)
                tell([signal, version](QtSoundPlayerCalls &player) { player.loaded(signal, version); });
        });
        effect->setSource(QUrl::fromLocalFile(copy));
    }
    void playFile(Signal signal)
    {
        if (QSoundEffect *effect = m_file[indexOf(signal)])
            effect->play();
    }
    void playBuiltIn(Signal signal)
    {
        QSoundEffect *effect = m_builtIn[indexOf(signal)];
        effect->play();
        if (effect->status() == QSoundEffect::Ready)
            tell([signal](QtSoundPlayerCalls &player) { player.begun(builtInSignal(signal)); });
        else
            m_builtInWaiting[indexOf(signal)] = true; // told when it is loaded
    }
    void stop()
    {
        for (QSoundEffect *effect : m_builtIn)
            effect->stop();
        m_builtInWaiting = {};
        for (QSoundEffect *effect : m_file)
            if (effect)
                effect->stop();
    }

private:
    // Runs `call` on the player, on its thread; dropped if the player is gone.
    template <typename Call> void tell(Call call)
    {
        const std::lock_guard lock(m_link->mutex);
        if (SoundPlayer *player = m_link->player)
            QMetaObject::invokeMethod(
                player, [player, call] { call(*dynamic_cast<QtSoundPlayerCalls *>(player)); }, Qt::QueuedConnection);
    }

    std::shared_ptr<PlayerLink> m_link;
    std::array<QSoundEffect *, 2> m_builtIn{};
    std::array<bool, 2> m_builtInWaiting{}; // asked for while still loading
    std::array<QPointer<QSoundEffect>, 2> m_file;
};

class QtSoundPlayer final : public SoundPlayer, public QtSoundPlayerCalls {
public:
    QtSoundPlayer(std::shared_ptr<FileAccess> files, QObject *parent)
        : SoundPlayer(std::move(files), true, parent), m_hasOutput(machineHasOutput())
    {
        if (!m_hasOutput)
            return;
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("sound"));
        m_link->player = this;
        m_effects = new Effects(m_link);
        m_effects->moveToThread(m_thread);
        m_thread->start();
        // The built-in signals are loaded now, so that a fallback plays at once.
        post([](Effects &effects) { effects.start(); });
    }
    ~QtSoundPlayer() override
    {
        if (!m_thread)
            return;
        {
            const std::lock_guard lock(m_link->mutex);
            m_link->player = nullptr; // nothing more is told to this player
        }
        // The effects go on their own thread, with what Qt releases after them.
        post([](Effects &effects) {
            delete &effects;
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QThread::currentThread()->quit();
        });
        // A sound server that froze may keep the thread: then it is left to
        // the end of the program rather than waited for.
        if (m_thread->wait(QDeadlineTimer(2000)))
            delete m_thread;
    }

    bool hasOutput() const override { return m_hasOutput; }
    bool ready(Signal signal) const override { return m_ready[indexOf(signal)]; }

    void begun(const QString &source) override { emit started(source); }
    void loaded(Signal signal, quint64 version) override
    {
        const std::optional<SoundFiles::Prepared> &prepared = file(signal);
        m_ready[indexOf(signal)] = prepared && prepared->version == version;
    }

protected:
    void fileChanged(Signal signal) override
    {
        m_ready[indexOf(signal)] = false; // until the new sound is loaded
        // No answer yet: no copy, nothing to load.
        post([signal, prepared = file(signal).value_or(SoundFiles::Prepared{})](Effects &effects) {
            effects.load(signal, prepared.copy, prepared.version);
        });
    }
    void playFile(Signal signal, const QString &path) override
    {
        post([signal](Effects &effects) { effects.playFile(signal); });
        emit started(path); // loaded: it plays
    }
    void playBuiltIn(Signal signal) override
    {
        post([signal](Effects &effects) { effects.playBuiltIn(signal); });
    }
    void stop() override
    {
        post([](Effects &effects) { effects.stop(); });
    }

private:
    template <typename Call> void post(Call call)
    {
        if (m_effects)
            QMetaObject::invokeMethod(
                m_effects, [effects = m_effects, call] { call(*effects); }, Qt::QueuedConnection);
    }

    bool m_hasOutput = false;
    std::shared_ptr<PlayerLink> m_link = std::make_shared<PlayerLink>();
    QThread *m_thread = nullptr;
    Effects *m_effects = nullptr;
    std::array<bool, 2> m_ready{};
};

} // namespace

std::unique_ptr<SoundPlayer> SoundPlayer::make(std::shared_ptr<FileAccess> files, QObject *parent)
{
    return std::make_unique<QtSoundPlayer>(std::move(files), parent);
}

} // namespace platform
