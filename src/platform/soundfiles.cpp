#include "platform/soundfiles.h"

#include "platform/wav.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

namespace {

class RealFiles final : public FileAccess {
public:
    std::optional<Stamp> stamp(const QString &path) override
    {
        // Only a regular file: a pipe or a device would never answer a read.
        const QFileInfo info(path);
        if (!info.isFile())
            return std::nullopt;
        return Stamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
    }
    std::optional<QByteArray> read(const QString &path, std::int64_t limit) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        QByteArray bytes = file.read(limit);
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return bytes;
    }
};

} // namespace

std::shared_ptr<FileAccess> realFiles() { return std::make_shared<RealFiles>(); }

// Where the readers hand their answers: the SoundFiles while it lives.
struct SoundFiles::Link {
    std::mutex mutex;
    SoundFiles *target = nullptr;
    std::atomic<std::uint64_t> answers{0}; // numbers every answer, whichever file
};

// One file's reader, until it is no longer wanted.
struct SoundFiles::Job {
    std::mutex mutex;
    std::condition_variable wake;
    bool wanted = true;

    bool stillWanted()
    {
        const std::lock_guard lock(mutex);
        return wanted;
    }
    void release()
    {
        {
            const std::lock_guard lock(mutex);
            wanted = false;
        }
        wake.notify_all();
    }
};

SoundFiles::SoundFiles(std::shared_ptr<FileAccess> files, std::chrono::milliseconds poll, const QString &copies,
                       QObject *parent)
    : QObject(parent), m_files(std::move(files)), m_poll(poll), m_copies(copies), m_link(std::make_shared<Link>())
{
    m_link->target = this;
}

SoundFiles::~SoundFiles()
{
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->target = nullptr;
    }
    for (const std::shared_ptr<Job> &job : m_jobs)
        if (job)
            job->release();
}

void SoundFiles::choose(Slot slot, const QString &path)
{
    if (path == m_chosen[slot] && (m_jobs[slot] || path.isEmpty()))
        return;
    if (m_jobs[slot])
        m_jobs[slot]->release();
    m_jobs[slot].reset();
    m_chosen[slot] = path;
    const std::uint64_t generation = ++m_generation[slot];
    if (m_prepared[slot] && !m_prepared[slot]->copy.isEmpty())
        QFile::remove(m_prepared[slot]->copy);
    m_prepared[slot].reset();
    if (path.isEmpty())
        m_prepared[slot] = Prepared{{}, {}, ++m_link->answers}; // nothing to read: the built-in signal
    // From now on the old file is never played for this one: until its first answer, the built-in signal.
    emit changed(slot);
    if (path.isEmpty())
        return;

    auto job = std::make_shared<Job>();
    m_jobs[slot] = job;
    // The reader holds what it needs by value: it may outlive this object.
    // Where no thread can be made, the file stays unprepared: the built-in
    // signal plays.
    try {
        std::thread([files = m_files, link = m_link, job, path, slot, generation, poll = m_poll, copies = m_copies] {
            std::optional<FileAccess::Stamp> last;
            // A read that failed (a file held by an editor or a virus scanner for a moment, or not readable until
            // its permissions change back) is tried again at the next look, though the stamp stays.
            bool failed = false;
            for (bool first = true;; first = false) {
                const std::optional<FileAccess::Stamp> now = files->stamp(path);
                if (!job->stillWanted())
                    return;
                if (first || now != last || failed) {
                    const bool retry = !first && now == last;
                    last = now;
                    failed = false;
                    Prepared prepared;
                    if (now && now->size <= std::int64_t(wav::kMaxFileSize)) {
                        const std::optional<QByteArray> bytes = files->read(path, std::int64_t(wav::kMaxFileSize) + 1);
                        failed = !bytes;
                        const auto sound = bytes
                            ? wav::playable(std::string_view(bytes->constData(), std::size_t(bytes->size())))
                            : std::nullopt;
                        if (sound)
                            prepared.wav = QByteArray(sound->data(), qsizetype(sound->size()));
                    }
                    if (!job->stillWanted())
                        return;
                    if (!(retry && failed)) { // failing once more is nothing new
                        prepared.version = ++link->answers;
                        if (!copies.isEmpty() && !prepared.wav.isEmpty()) {
                            // A new name for each answer: players keep loaded sounds by name.
                            prepared.copy = QDir(copies).filePath(QStringLiteral("%1.wav").arg(prepared.version));
                            QSaveFile file(prepared.copy);
                            if (!file.open(QIODevice::WriteOnly) || file.write(prepared.wav) != prepared.wav.size()
                                || !file.commit())
                                prepared.copy.clear();
                        }
                        const std::lock_guard lock(link->mutex);
                        if (SoundFiles *target = link->target)
                            QMetaObject::invokeMethod(
                                target,
                                [target, slot, generation, prepared] { target->deliver(slot, generation, prepared); },
                                Qt::QueuedConnection);
                    }
                }
                std::unique_lock lock(job->mutex);
                if (job->wake.wait_for(lock, poll, [&job] { return !job->wanted; }))
                    return;
            }
        }).detach();
    } catch (const std::system_error &) {}
}

void SoundFiles::deliver(Slot slot, std::uint64_t generation, Prepared prepared)
{
    if (generation != m_generation[slot]) { // chosen anew since
        if (!prepared.copy.isEmpty())
            QFile::remove(prepared.copy);
        return;
    }
    if (m_prepared[slot] && !m_prepared[slot]->copy.isEmpty() && m_prepared[slot]->copy != prepared.copy)
        QFile::remove(m_prepared[slot]->copy);
    m_prepared[slot] = std::move(prepared);
    emit changed(slot);
}

} // namespace platform
