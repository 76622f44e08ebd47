#pragma once

// What every benchmark sets up: a headless desktop of a main display and a
// hall display to its right, a console on a platform that shows and plays
// nothing, and readings of the process's memory.
#include "console/console.h"
#include "platform/sound.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QDir>

namespace bench {

class Silent final : public platform::Messages, public platform::FileDialog, public platform::Sounds {
public:
    void show(QWidget *, platform::MessageIcon, const QString &) override {}
    std::optional<QString> openFile(QWidget *, const QString &, const QString &, const QString &,
                                    const QString &) override
    {
        return std::nullopt;
    }
    void choose(platform::Signal, const QString &) override {}
    void play(const QString &, platform::Signal) override {}
};

// Qt's offscreen platform with the main display (1280 x 1024) and, to its
// right, a 1920 x 1080 display at `hallRatio` (2: 3840 x 2160 pixels).
// Call before the application is made.
class Desk {
public:
    explicit Desk(int hallRatio)
    {
        const QByteArray screens = QByteArray(R"({"screens":[
            {"name":"a-main","x":0,"y":0,"width":1280,"height":1024,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
            {"name":"b-hall","x":1280,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":)")
            + QByteArray::number(hallRatio) + "}]}";
        if (m_layout.open())
            m_layout.write(screens);
        m_layout.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile="
                                       + QFile::encodeName(QDir::current().relativeFilePath(m_layout.fileName())));
    }
    // For the console, once the application exists.
    platform::Platform platform()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        return platform::Platform{&m_silent, &m_silent, {m_dir.path(), true, m_dir.path()}, &platform::systemDisplays(), &m_silent};
    }
    // The same with a match clock that reads `time` (ms) instead of the real clock.
    platform::Platform platform(const std::int64_t &time)
    {
        platform::Platform p = platform();
        p.monotonic = [&time] { return time; };
        return p;
    }

private:
    QTemporaryDir m_dir;
    // In the current folder, named relatively: Qt splits the platform's
    // arguments at colons, a Windows drive's too.
    QTemporaryFile m_layout{QStringLiteral("screens-XXXXXX.json")};
    Silent m_silent;
};

// A line of /proc/self/status in kB: "VmRSS" (resident now), "VmHWM" (peak).
inline long kilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(QByteArray(field) + ':'))
            return line.mid(qsizetype(qstrlen(field)) + 1).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace bench
