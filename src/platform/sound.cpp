#include "platform/sound.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <cstdio>

namespace platform {

namespace {

SoundFiles::Slot slotOf(Signal signal) { return signal == Signal::Warning ? SoundFiles::Warning : SoundFiles::End; }

} // namespace

QString builtInSignal(Signal signal)
{
    return signal == Signal::Warning ? QStringLiteral(":/sounds/warning.wav") : QStringLiteral(":/sounds/end.wav");
}

SoundPlayer::SoundPlayer(std::shared_ptr<FileAccess> files, bool copies, QObject *parent)
    : QObject(parent), m_copies(copies ? std::make_unique<QTemporaryDir>() : nullptr),
      m_files(std::move(files), std::chrono::seconds(1), m_copies && m_copies->isValid() ? m_copies->path() : QString())
{
    connect(&m_files, &SoundFiles::changed, this, [this](SoundFiles::Slot slot) {
        fileChanged(slot == SoundFiles::Warning ? Signal::Warning : Signal::End);
    });
}

SoundPlayer::~SoundPlayer() = default;

const std::optional<SoundFiles::Prepared> &SoundPlayer::file(Signal signal) const
{
    return m_files.prepared(slotOf(signal));
}

void SoundPlayer::choose(Signal signal, const QString &path)
{
    if (hasOutput()) // nothing is read for a machine that plays nothing
        m_files.choose(slotOf(signal), path);
}

void SoundPlayer::play(const QString &path, Signal fallback)
{
    if (!hasOutput())
        return;
    stop();
    if (m_files.chosen(slotOf(fallback)) != path)
        choose(fallback, path); // ready for the next time
    else if (!path.isEmpty() && ready(fallback)) {
        playFile(fallback, path);
        return;
    }
    playBuiltIn(fallback);
}

void SoundPlayer::sayNoOutput(const QStringList &reasons)
{
    QString line = QStringLiteral("Taikan: no audio output; the warning and end-of-match signals stay silent");
    if (!reasons.isEmpty())
        line += QStringLiteral(" (%1)").arg(reasons.join(QStringLiteral("; ")));
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

Sounds &systemSounds()
{
    // Owned by the application object: deleted with it, before static
    // destruction, and made anew should a later application ask.
    static QPointer<SoundPlayer> player;
    Q_ASSERT_X(QCoreApplication::instance(), "systemSounds", "needs the application object");
    if (!player)
        player = SoundPlayer::make(realFiles(), QCoreApplication::instance()).release();
    return *player;
}

} // namespace platform
