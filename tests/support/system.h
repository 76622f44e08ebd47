#pragma once

// Whole files read and written; what tests ask of the system beyond Qt, where it has it (not Windows): a
// named pipe in place of a file, and a disk that fills up.
#include <QFile>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace testing {

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

constexpr const char *kNoPipes = "Windows keeps named pipes apart from files: no file name can be one";
constexpr const char *kNoFileSizeLimit = "Windows has no limit on a process's file sizes to stand for a full disk";
#ifdef Q_OS_WIN
constexpr bool kPosix = false;
inline bool makePipe(const QString &) { return false; }
inline void limitFileSizes(qint64) {}
#else
constexpr bool kPosix = true;
inline bool makePipe(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }
// No file of this process grows beyond `bytes` (-1: as before), as on a full disk; for root too.
inline void limitFileSizes(qint64 bytes)
{
    std::signal(SIGXFSZ, bytes < 0 ? SIG_DFL : SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes < 0 ? limit.rlim_max : rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}
#endif

} // namespace testing
