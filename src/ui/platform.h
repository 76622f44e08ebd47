#pragma once

#include <QString>
#include <optional>

class QWidget;

// The thin layer between the program and the platform: message boxes, the
// file dialog and where the settings file lies. The program uses the real
// ones; tests put recorders in their place.
namespace ui {

inline constexpr const char *kMessageTitle = "Taikan";

enum class MessageIcon { Information, Warning, Critical };

class Messages {
public:
    virtual ~Messages() = default;
    // A modal message box titled "Taikan" with one OK button.
    virtual void show(QWidget *parent, MessageIcon icon, const QString &text) = 0;
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The platform's file-open dialog; the chosen file's full path, or
    // nothing when the operator cancels.
    virtual std::optional<QString> openFile(QWidget *parent, const QString &title,
                                            const QString &fileName, const QString &filter,
                                            const QString &directory) = 0;
};

struct Platform {
    Messages *messages;
    FileDialog *files;
    QString settingsDirectory; // where kata.ini lies
};

// The real platform: Qt's message box and file dialog, and the directory
// of the executable.
Platform systemPlatform();

} // namespace ui
