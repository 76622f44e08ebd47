#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

// How the sound files are read: the real file system, or in tests one that
// stalls. Called on threads of their own, never on the GUI thread.
class FileAccess {
public:
    virtual ~FileAccess() = default;
    // What tells a change of the file (size and time of the last change);
    // nothing where there is no regular file.
    struct Stamp {
        std::int64_t size = 0;
        std::int64_t modified = 0;
        friend bool operator==(const Stamp &, const Stamp &) = default;
    };
    virtual std::optional<Stamp> stamp(const QString &path) = 0;
    // At most `limit` bytes of the file; nothing where it cannot be read.
    virtual std::optional<QByteArray> read(const QString &path, std::int64_t limit) = 0;
};

// The file system as QFile sees it.
std::shared_ptr<FileAccess> realFiles();

// The operator's two sound files, made ready to play away from the GUI
// thread: read, checked and made into plain 16-bit WAV (platform::wav) when
// chosen, and read again whenever they change on disk or could not be read. A file on a share
// that stopped answering, or on a USB stick just pulled, holds up only the
// thread that reads it; the console and the clock never wait for it.
//
// Belongs to the GUI thread. Each chosen file has a thread that reads it and
// looks for changes every `poll`; a thread stuck in the file system is left
// to itself.
class SoundFiles : public QObject {
    Q_OBJECT
public:
    enum Slot { Warning, End };

    // `copies`: where a player that plays files by name wants a local copy of
    // each prepared sound (empty: none).
    explicit SoundFiles(std::shared_ptr<FileAccess> files = realFiles(),
                        std::chrono::milliseconds poll = std::chrono::seconds(1), const QString &copies = {},
                        QObject *parent = nullptr);
    ~SoundFiles() override;

    // The file for `slot` is now the one at `path` (empty: none).
    void choose(Slot slot, const QString &path);

    struct Prepared {
        QByteArray wav;            // the plain WAV; empty: no sound this program plays
        QString copy;              // the local copy of `wav`, where asked for
        std::uint64_t version = 0; // a new number for every answer
    };
    // What is known of the file for `slot`: nothing until its first answer.
    const std::optional<Prepared> &prepared(Slot slot) const { return m_prepared[slot]; }
    QString chosen(Slot slot) const { return m_chosen[slot]; }

signals:
    // The file for `slot` was chosen or read (again): prepared(slot) tells
    // what it holds, nothing until the chosen file's first answer.
    void changed(SoundFiles::Slot slot);

private:
    struct Job;
    struct Link;
    void deliver(Slot slot, std::uint64_t generation, Prepared prepared);

    std::shared_ptr<FileAccess> m_files;
    std::chrono::milliseconds m_poll;
    QString m_copies;
    std::shared_ptr<Link> m_link;
    std::array<QString, 2> m_chosen;
    std::array<std::shared_ptr<Job>, 2> m_jobs;
    std::array<std::uint64_t, 2> m_generation{};
    std::array<std::optional<Prepared>, 2> m_prepared;
};

} // namespace platform
