#pragma once

// What tests ask of the operating system beyond Qt, where it has it: a named
// pipe in place of a file, and a disk that fills up.
#include <QFile>
#include <QString>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace testing {

// Why a case cannot be made where the system lacks what it needs.
constexpr const char *kNoPipes = "Windows keeps named pipes apart from files: no file name can be one";
constexpr const char *kNoFileSizeLimit = "Windows has no limit on a process's file sizes to stand for a full disk";

#ifdef Q_OS_WIN
constexpr bool kPipesInFileSystem = false;
inline bool makePipe(const QString &) { return false; }
// Where `active` is false, the system cannot limit file sizes.
struct FileSizeLimit {
    explicit FileSizeLimit(qint64) {}
    static constexpr bool active = false;
};
#else
constexpr bool kPipesInFileSystem = true;
inline bool makePipe(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }
// While it lives, no file of this process grows beyond `bytes`, as on a full disk; for root too.
struct FileSizeLimit {
    explicit FileSizeLimit(qint64 bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        const rlimit limit{rlim_t(bytes), m_before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }
    static constexpr bool active = true;

private:
    void (*m_handler)(int);
    rlimit m_before{};
};
#endif

} // namespace testing
