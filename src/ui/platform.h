#pragma once

#include <QList>
#include <QObject>
#include <QScreen>
#include <QString>
#include <optional>

class QWidget;

namespace ui {
class Sounds;
}

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

// The displays of the desktop, as the window system reports them, and
// their coming and going (a projector's cable pulled out, a screen
// switched off).
class Displays : public QObject {
    Q_OBJECT
public:
    virtual QList<QScreen *> screens() const = 0;
    virtual QScreen *main() const = 0; // the primary display

signals:
    void added(QScreen *screen);
    // Announced while the display is still there, before the window system
    // moves its windows elsewhere.
    void removed(QScreen *screen);
};

struct Platform {
    Messages *messages;
    FileDialog *files;
    QString settingsDirectory; // where kata.ini lies
    Displays *displays;
    Sounds *sounds; // the warning and end-of-match signals
};

// The real platform: Qt's message box, file dialog and screens, and the
// directory of the executable.
Platform systemPlatform();
// The real displays alone; tests that use the real screens take this one.
Displays &systemDisplays();

} // namespace ui
