#include "platform/platform.h"

#include "platform/sound.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QPointer>
#include <QTemporaryFile>
#include <QUrl>

namespace platform {

namespace {

class SystemMessages final : public Messages {
public:
    void show(QWidget *parent, MessageIcon icon, const QString &text) override
    {
        const QMessageBox::Icon shown = icon == MessageIcon::Information ? QMessageBox::Information
            : icon == MessageIcon::Warning                               ? QMessageBox::Warning
                                                                         : QMessageBox::Critical;
        QMessageBox box(shown, QString::fromLatin1(kMessageTitle), text, QMessageBox::Ok, parent);
        box.exec();
    }
    bool ask(QWidget *parent, const QString &text) override
    {
        QMessageBox box(QMessageBox::Question, QString::fromLatin1(kMessageTitle), text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
};

class SystemFileDialog final : public FileDialog {
public:
    std::optional<QString> openFile(QWidget *parent, const QString &title, const QString &fileName,
                                    const QString &filter, const QString &directory) override
    {
        return choose(parent, title, fileName, filter, directory, QFileDialog::AcceptOpen);
    }
    std::optional<QString> saveFile(QWidget *parent, const QString &title, const QString &fileName,
                                    const QString &filter, const QString &directory) override
    {
        return choose(parent, title, fileName, filter, directory, QFileDialog::AcceptSave);
    }
    bool showDocument(const QString &path) override { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

private:
    static std::optional<QString> choose(QWidget *parent, const QString &title, const QString &fileName,
                                         const QString &filter, const QString &directory, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(parent, title, directory, filter);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setAcceptMode(mode);
        dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }
};

class SystemDisplays final : public Displays {
public:
    SystemDisplays()
    {
        connect(qGuiApp, &QGuiApplication::screenAdded, this, &Displays::added);
        connect(qGuiApp, &QGuiApplication::screenRemoved, this, &Displays::removed);
    }
    QList<QScreen *> screens() const override { return QGuiApplication::screens(); }
    QScreen *main() const override { return QGuiApplication::primaryScreen(); }
};

class SystemNetwork final : public Network {
public:
    QList<NetworkAddress> addresses() const override
    {
        QList<NetworkAddress> found;
        for (const QNetworkInterface &interface : QNetworkInterface::allInterfaces()) {
            const auto flags = interface.flags();
            if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning))
                continue;
            const bool adapter =
                interface.type() == QNetworkInterface::Ethernet || interface.type() == QNetworkInterface::Wifi;
            for (const QNetworkAddressEntry &entry : interface.addressEntries())
                if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                    found.append({entry.ip().toString(), adapter});
        }
        return found;
    }
};

} // namespace

Displays &systemDisplays()
{
    // One for the application's life, deleted with it.
    static QPointer<SystemDisplays> displays;
    if (!displays) {
        displays = new SystemDisplays;
        displays->setParent(qGuiApp);
    }
    return *displays;
}

bool canCreateFilesIn(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".taikan-probe-XXXXXX")));
    return probe.open(); // and gone again when the probe goes
}

SettingsFolders systemSettingsFolders()
{
    const QString program = QCoreApplication::applicationDirPath();
    return SettingsFolders{program, canCreateFilesIn(program), userSettingsFolder()};
}

Platform systemPlatform()
{
    static SystemMessages messages;
    static SystemFileDialog files;
    static SystemNetwork network;
    // The sound player looks for an audio output once, now, at start-up:
    // never first on a tick of the match clock.
    return Platform{&messages, &files, systemSettingsFolders(), &systemDisplays(), &systemSounds(), &network};
}

} // namespace platform
