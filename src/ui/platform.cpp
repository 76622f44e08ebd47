#include "ui/platform.h"

#include <QCoreApplication>
#include <QFileDialog>
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

} // namespace

Platform systemPlatform()
{
    static SystemMessages messages;
    static SystemFileDialog files;
    return Platform{&messages, &files, QCoreApplication::applicationDirPath()};
}

} // namespace ui
