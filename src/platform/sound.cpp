#include "platform/sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QStringList>
#include <QThread>
#include <QUrl>
#include <QtEndian>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

std::size_t indexOf(Signal signal) { return signal == Signal::Warning ? 0 : 1; }

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
    QString line = QStringLiteral("Taikan: no audio output; the warning and end-of-match signals stay silent");
    if (!reasons.isEmpty())
        line += QStringLiteral(" (%1)").arg(reasons.join(QStringLiteral("; ")));
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
    return false;
}

// Looked up once for the whole program: no retrying, no second message.
bool machineHasOutput()
{
    static const bool found = lookForOutput();
    return found;
}

// Whether Qt can be trusted with a file: a RIFF WAVE file of integer PCM
// whose format chunk and data chunk it holds in full. Qt reads sound files on
// a loading thread of its own and waits for that thread whenever a sound is
// released; a file cut short, a pipe or device, or chunks laid out in a way
// its reader does not follow keep the thread waiting for bytes that never
// come, and the program with it. Only the chunk headers are read.
constexpr qint64 kLargestChunkBeforeData = 16384;

bool playableWav(const QString &path)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > SoundPlayer::kMaxFileSize || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    char riff[12];
    if (file.read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;
    int frameBytes = 0; // known once the format chunk was read
    for (qint64 at = 12; at + 8 <= size;) {
        char chunk[8];
        if (!file.seek(at) || file.read(chunk, 8) != 8)
            return false;
        const qint64 length = qFromLittleEndian<quint32>(chunk + 4);
        if (at + 8 + length > size)
            return false; // cut short
        if (std::memcmp(chunk, "data", 4) == 0)
            return frameBytes > 0 && length > 0 && length % frameBytes == 0;
        if (length % 2 != 0)
            return false; // Qt's reader skips no pad byte
        if (length >= kLargestChunkBeforeData)
            return false; // Qt's reader never gets past it: silence, and a hang when the sound is released
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            char format[16];
            if (length < 16 || file.read(format, 16) != 16)
                return false;
            const int code = qFromLittleEndian<quint16>(format);
            const int channels = qFromLittleEndian<quint16>(format + 2);
            const quint32 rate = qFromLittleEndian<quint32>(format + 4);
            const int bits = qFromLittleEndian<quint16>(format + 14);
            if (code != 1 || channels < 1 || channels > 8 || rate < 8000 || rate > 192000
                || (bits != 8 && bits != 16 && bits != 24 && bits != 32))
                return false;
            frameBytes = channels * bits / 8;
        }
        at += 8 + length;
    }
    return false; // no data
}

} // namespace

QString builtInSignal(Signal signal)
{
    return signal == Signal::Warning ? QStringLiteral(":/sounds/warning.wav") : QStringLiteral(":/sounds/end.wav");
}

SoundPlayer::SoundPlayer(QObject *parent)
    : QObject(parent)
    , m_hasOutput(machineHasOutput())
{
    if (!m_hasOutput)
        return;
    // The built-in signals are loaded now, so that a fallback plays at once.
    for (Signal signal : {Signal::Warning, Signal::End}) {
        auto *effect = new QSoundEffect(this);
        m_builtIn[indexOf(signal)] = effect;
        connect(effect, &QSoundEffect::statusChanged, this, [this, effect, signal] {
            bool &waiting = m_builtInWaiting[indexOf(signal)];
            if (effect->status() == QSoundEffect::Ready && waiting) {
                waiting = false;
                emit started(builtInSignal(signal));
            }
        });
        effect->setSource(QUrl(QLatin1String("qrc") + builtInSignal(signal)));
    }
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(const QString &path, Signal fallback)
{
    if (!m_hasOutput)
        return;
    ++m_request;
    stopAll();

    if (path.isEmpty() || !playableWav(path)) {
        playBuiltIn(fallback);
        return;
    }

    // Each request gets its own address: Qt keeps loaded sounds by address,
    // and the file may have changed since it was last played. The query
    // keeps the file's name as it is and only makes the address new.
    QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    url.setQuery(QStringLiteral("request=%1").arg(m_request));

    auto *effect = new QSoundEffect(this);
    m_file = effect;
    // A later request disconnects this one: what comes here is current.
    connect(effect, &QSoundEffect::statusChanged, this, [this, effect, path, fallback] {
        if (effect->status() == QSoundEffect::Ready) {
            emit started(path);
        } else if (effect->status() == QSoundEffect::Error) {
            // Not a WAV Qt can play, or gone since: the built-in signal.
            effect->disconnect(this);
            effect->deleteLater();
            m_file = nullptr;
            playBuiltIn(fallback);
        }
    });
    effect->setSource(url);
    effect->play(); // starts as soon as the file is loaded
}

void SoundPlayer::stopAll()
{
    for (QSoundEffect *effect : m_builtIn)
        effect->stop();
    m_builtInWaiting = {};
    if (m_file) {
        m_file->disconnect(this);
        m_file->stop();
        m_file->deleteLater();
        m_file = nullptr;
    }
}

void SoundPlayer::playBuiltIn(Signal signal)
{
    QSoundEffect *effect = m_builtIn[indexOf(signal)];
    effect->play();
    if (effect->status() == QSoundEffect::Ready)
        emit started(builtInSignal(signal));
    else
        m_builtInWaiting[indexOf(signal)] = true; // told when it is loaded
}

Sounds &systemSounds()
{
    // Owned by the application object: deleted with it, before static
    // destruction, and made anew should a later application ask.
    static QPointer<SoundPlayer> player;
    Q_ASSERT_X(QCoreApplication::instance(), "systemSounds", "needs the application object");
    if (!player)
        player = new SoundPlayer(QCoreApplication::instance());
    return *player;
}

} // namespace platform
