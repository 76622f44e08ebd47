#pragma once

// What every benchmark sets up: a headless desktop of a main display and a
// hall display to its right, a console on a platform that shows and plays
// nothing, and readings of the process's memory.
#include "console/console.h"
#include "platform/sound.h"

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace bench {

class Silent final : public platform::Messages,
                     public platform::FileDialog,
                     public platform::Sounds,
                     public platform::Network {
public:
    QList<platform::NetworkAddress> addresses() const override { return {}; }
    void show(QWidget *, platform::MessageIcon, const QString &) override {}
    bool ask(QWidget *, const QString &) override { return true; }
    std::optional<QString> openFile(QWidget *, const QString &, const QString &, const QString &,
                                    const QString &) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFile(QWidget *, const QString &, const QString &, const QString &,
                                    const QString &) override
    {
        return std::nullopt;
    }
    bool showDocument(const QString &) override { return true; }
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
        qputenv("QT_QPA_PLATFORM",
                "offscreen:configfile=" + QFile::encodeName(QDir::current().relativeFilePath(m_layout.fileName())));
    }
    // For the console, once the application exists.
    platform::Platform platform()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        return platform::Platform{&m_silent, &m_silent, {m_dir.path(), true, m_dir.path()}, &platform::systemDisplays(),
                                  &m_silent, &m_silent};
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

// Starts the console's clock at 9:59 and notes when each of `ticks` ticks
// lands, in ms after Start; then stops it.
inline std::vector<double> runClock(console::Kata &kata, int ticks)
{
    kata.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("9"));
    kata.findChild<QLineEdit *>(QStringLiteral("Text6"))->setText(QStringLiteral("59"));
    kata.resetTime();
    QApplication::processEvents();
    QElapsedTimer wall;
    std::vector<double> landed;
    QEventLoop loop;
    const QMetaObject::Connection noted =
        QObject::connect(kata.findChild<QTimer *>(QStringLiteral("Timer1")), &QTimer::timeout, &loop, [&] {
            landed.push_back(double(wall.nsecsElapsed()) / 1e6);
            if (int(landed.size()) == ticks)
                loop.quit();
        });
    wall.start();
    kata.findChild<QAbstractButton *>(QStringLiteral("Command4"))->click();
    loop.exec();
    QObject::disconnect(noted);
    kata.stopClock();
    return landed;
}

// How late each tick landed against k x 1000 ms.
inline std::vector<double> lateness(const std::vector<double> &landed)
{
    std::vector<double> late;
    for (std::size_t k = 0; k < landed.size(); ++k)
        late.push_back(landed[k] - double(k + 1) * 1000.0);
    return late;
}

// The value below which the share `p` (0..1) of `values` lies.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t i = std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[i];
}

} // namespace bench
