#pragma once

// Stand-ins for the platform layer: they record what the program asks of
// the operator instead of showing it.
#include "fakesounds.h"
#include "platform/platform.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <optional>

namespace testing {

struct ShownMessage {
    platform::MessageIcon icon;
    QString text;
    bool operator==(const ShownMessage &) const = default;
};

class RecordedMessages final : public platform::Messages {
public:
    void show(QWidget *, platform::MessageIcon icon, const QString &text) override { shown.append({icon, text}); }
    // Each question is answered with the next prepared answer; none left: No.
    bool ask(QWidget *, const QString &text) override
    {
        asked.append(text);
        return !answers.isEmpty() && answers.takeFirst();
    }
    QList<ShownMessage> shown;
    QStringList asked;
    QList<bool> answers;
};

// Answers each file dialog with the next prepared answer; none left: the operator cancelled.
class ScriptedFileDialog final : public platform::FileDialog {
public:
    struct Request {
        QString title, fileName, filter, directory;
    };
    std::optional<QString> openFile(QWidget *, const QString &title, const QString &fileName, const QString &filter, const QString &directory) override
    {
        requests.append({title, fileName, filter, directory});
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
    std::optional<QString> saveFile(QWidget *parent, const QString &title, const QString &fileName, const QString &filter, const QString &directory) override
    {
        return openFile(parent, title, fileName, filter, directory);
    }
    bool showDocument(const QString &path) override
    {
        shown.append(path);
        return true;
    }
    QList<std::optional<QString>> answers;
    QStringList shown; // the documents opened in the system's viewer
    QList<Request> requests;
};

// The real displays, whose going away a test can announce.
class AnnouncedDisplays final : public platform::Displays {
public:
    QList<QScreen *> screens() const override
    {
        QList<QScreen *> present = QGuiApplication::screens();
        present.removeIf([this](QScreen *screen) { return m_gone.contains(screen); });
        return present;
    }
    QScreen *main() const override { return QGuiApplication::primaryScreen(); }
    void remove(QScreen *screen)
    {
        emit removed(screen);
        m_gone.append(screen);
    }
    void bringBack(QScreen *screen)
    {
        m_gone.removeAll(screen);
        emit added(screen);
    }

private:
    QList<QScreen *> m_gone;
};

// A PC on one network, the hall's, unless a test says otherwise.
struct FixedNetwork final : platform::Network {
    QList<platform::NetworkAddress> found{{QStringLiteral("127.0.0.1")}, {QStringLiteral("192.168.1.20"), true}};
    QList<platform::NetworkAddress> addresses() const override { return found; }
};

// Fresh temporary folders: `dir` stands for the program's folder, writable or not as `programWritable` says
// (tests run as root, whom permission bits do not stop); the user's configuration folder lies, not yet made,
// inside `home`.
struct FakePlatform {
    // Named in two scripts, as the folders of a user Jürgen or 山田.
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/Jürgen 山田-XXXXXX")};
    QTemporaryDir home{QDir::tempPath() + QStringLiteral("/山田 Jürgen-XXXXXX")};
    bool programWritable = true;
    RecordedMessages messages;
    ScriptedFileDialog files;
    RecordedSounds sounds;
    AnnouncedDisplays displays;
    FixedNetwork network;

    // The match clock's time in ms: moved by the test, or the real one.
    std::int64_t time = 0;
    bool realTime = false;

    platform::Platform platform()
    {
        return platform::Platform{&messages,
                                  &files,
                                  {dir.path(), programWritable, userFolder()},
                                  &displays,
                                  &sounds,
                                  &network,
                                  [this] { return realTime ? platform::monotonicMs() : time; }};
    }
    QString userFolder() const { return QDir(home.path()).filePath(QStringLiteral(".config/Taikan")); }
    // kata.ini beside the program, and in the user's folder.
    QString settingsPath() const { return QDir(dir.path()).filePath(QStringLiteral("kata.ini")); }
    QString userSettingsPath() const { return QDir(userFolder()).filePath(QStringLiteral("kata.ini")); }
};

} // namespace testing
