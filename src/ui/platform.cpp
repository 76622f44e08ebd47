#include "ui/platform.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace ui {

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
};

class SystemFileDialog final : public FileDialog {
public:
    std::optional<QString> openFile(QWidget *parent, const QString &title, const QString &fileName,
                                    const QString &filter, const QString &directory) override
    {
        QFileDialog dialog(parent, title, directory, filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }
};

class SystemDisplays final : public Displays {
public:
    QList<QScreen *> screens() const override { return QGuiApplication::screens(); }
    QScreen *main() const override { return QGuiApplication::primaryScreen(); }
};

} // namespace

Displays &systemDisplays()
{
    static SystemDisplays displays;
    return displays;
}

Platform systemPlatform()
{
    static SystemMessages messages;
    static SystemFileDialog files;
    return Platform{&messages, &files, QCoreApplication::applicationDirPath(), &systemDisplays(), nullptr};
}

} // namespace ui
