#pragma once

// Stand-ins for the platform layer: they record what the program asks of
// the operator instead of showing it.
#include "fakesounds.h"
#include "ui/platform.h"

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

namespace testing {

struct ShownMessage {
    ui::MessageIcon icon;
    QString text;
};

class RecordedMessages final : public ui::Messages {
public:
    void show(QWidget *, ui::MessageIcon icon, const QString &text) override
    {
        shown.append({icon, text});
    }
    QList<ShownMessage> shown;
};

// Answers each file dialog with the next prepared answer; nothing left means
// the operator cancelled.
class ScriptedFileDialog final : public ui::FileDialog {
public:
    struct Request {
        QString title, fileName, filter, directory;
    };
    std::optional<QString> openFile(QWidget *, const QString &title, const QString &fileName,
                                    const QString &filter, const QString &directory) override
    {
        requests.append({title, fileName, filter, directory});
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }
    QList<std::optional<QString>> answers;
    QList<Request> requests;
};

// A platform whose settings live in a fresh temporary directory.
struct FakePlatform {
    QTemporaryDir dir;
    RecordedMessages messages;
    ScriptedFileDialog files;
    RecordedSounds sounds;

    ui::Platform platform() { return ui::Platform{&messages, &files, dir.path(), &ui::systemDisplays(), &sounds}; }
    QString settingsPath() const { return QDir(dir.path()).filePath(QStringLiteral("kata.ini")); }
};

} // namespace testing
