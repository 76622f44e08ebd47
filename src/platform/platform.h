#pragma once

#include "platform/monotonic.h"

#include <QList>
#include <QObject>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

class QWidget;

// The thin layer between the program and the platform: message boxes, the
// file dialog, where the settings file lies, the displays, the sounds and
// the PC's network addresses. The program uses the real
// ones; tests put recorders in their place.
namespace platform {

class Sounds;

inline constexpr const char *kMessageTitle = "Taikan";

enum class MessageIcon { Information, Warning, Critical };

class Messages {
public:
    virtual ~Messages() = default;
    // A modal message box titled "Taikan" with one OK button.
    virtual void show(QWidget *parent, MessageIcon icon, const QString &text) = 0;
    // A modal question titled "Taikan" with Yes and No (No the default);
    // true for Yes.
    virtual bool ask(QWidget *parent, const QString &text) = 0;
};

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // The platform's file-open dialog; the chosen file's full path, or
    // nothing when the operator cancels.
    virtual std::optional<QString> openFile(QWidget *parent, const QString &title, const QString &fileName,
                                            const QString &filter, const QString &directory) = 0;
    // The platform's file-save dialog (it asks before replacing a file).
    virtual std::optional<QString> saveFile(QWidget *parent, const QString &title, const QString &fileName,
                                            const QString &filter, const QString &directory) = 0;
    // Opens a document in the system's viewer (a PDF to print); false
    // where none could be started.
    virtual bool showDocument(const QString &path) = 0;
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

// One IPv4 address of this PC.
struct NetworkAddress {
    QString ip;
    bool adapter = false; // on an Ethernet or Wi-Fi adapter, not a virtual one or loopback
};

// This PC on the networks it is connected to.
class Network {
public:
    virtual ~Network() = default;
    // Its IPv4 addresses on every network that is up, loopback included.
    // May take a while: asked away from the console's thread, from any thread.
    virtual QList<NetworkAddress> addresses() const = 0;
};

// The folders kata.ini may lie in; settings::settingsLocation() chooses.
struct SettingsFolders {
    QString program;      // the executable's folder
    bool programWritable; // whether a file can be made there
    QString user;         // the user's configuration folder (need not exist yet)
};

struct Platform {
    Messages *messages;
    FileDialog *files;
    SettingsFolders settings;
    Displays *displays;
    Sounds *sounds;                                        // the warning and end-of-match signals
    Network *network = nullptr;                            // none: the board knows no address but this PC's own
    std::function<std::int64_t()> monotonic = monotonicMs; // the match clock's time
};

// The real platform: Qt's message box, file dialog, screens and network
// interfaces, the folder of the executable and the user's configuration folder.
Platform systemPlatform();
// The settings folders alone, without a window system (for --help).
SettingsFolders systemSettingsFolders();
// The user's own folder for kata.ini, by the platform's custom (the
// platform's file beside this one says which).
QString userSettingsFolder();
// The real displays alone; tests that use the real screens take this one.
Displays &systemDisplays();
// Whether a file can be made in `folder`, found by making (and removing)
// one: permission bits do not tell for root, nor on a read-only mount.
bool canCreateFilesIn(const QString &folder);

} // namespace platform
