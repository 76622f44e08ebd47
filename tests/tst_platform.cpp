// The real platform layer: what the operator's dialogs look like.
#include "ui/platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// Runs `inspect` on the modal dialog once it is up; `inspect` lets it go.
void whenModal(std::function<void(QWidget *)> inspect)
{
    QTimer::singleShot(0, qApp, [inspect] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        inspect(modal);
    });
}

QString touched(const QTemporaryDir &dir, const char *name)
{
    QFile file(dir.filePath(QLatin1String(name)));
    return file.open(QIODevice::WriteOnly) ? file.fileName() : QString();
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    // What a dialog shows is read before it is let go: a failed check must not leave it open.
    void messageBoxes()
    {
        const std::pair<ui::MessageIcon, QMessageBox::Icon> icons[] = {
            {ui::MessageIcon::Information, QMessageBox::Information},
            {ui::MessageIcon::Warning, QMessageBox::Warning},
            {ui::MessageIcon::Critical, QMessageBox::Critical}};
        for (const auto &[icon, expected] : icons) {
            QString shown; // title|text|icon|buttons
            whenModal([&shown](QWidget *modal) {
                if (auto *box = qobject_cast<QMessageBox *>(modal))
                    shown = QStringLiteral("%1|%2|%3|%4").arg(box->windowTitle(), box->text())
                                .arg(int(box->icon())).arg(box->standardButtons().toInt());
                qobject_cast<QDialog *>(modal)->reject();
            });
            ui::systemPlatform().messages->show(nullptr, icon, QStringLiteral("Error saving"));
            QCOMPARE(shown, QStringLiteral("Taikan|Error saving|%1|%2").arg(int(expected)).arg(int(QMessageBox::Ok)));
        }
    }

    void fileDialog()
    {
        QTemporaryDir dir;
        const QString wav = touched(dir, "gong.wav");
        const auto open = [&] {
            return ui::systemPlatform().files->openFile(nullptr, QStringLiteral("Find soundfile"),
                                                        QStringLiteral("*.wav"), QStringLiteral("*.wav"), dir.path());
        };
        QString title;
        whenModal([&title](QWidget *modal) {
            title = modal->windowTitle();
            qobject_cast<QDialog *>(modal)->reject();
        });
        QCOMPARE(open(), std::nullopt); // cancelled: nothing
        QCOMPARE(title, QStringLiteral("Find soundfile"));
        QStringList filters;
        whenModal([&](QWidget *modal) {
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                filters = dialog->nameFilters();
                dialog->selectFile(wav);
            }
            QMetaObject::invokeMethod(modal, "accept");
        });
        QCOMPARE(open(), std::optional<QString>(wav)); // a file chosen: its full path
        QCOMPARE(filters, QStringList{"*.wav"});
    }

    void settingsFolders()
    {
        const ui::SettingsFolders folders = ui::systemSettingsFolders();
        QCOMPARE(folders.program, QCoreApplication::applicationDirPath());
        QVERIFY(folders.programWritable); // the build folder
        QCOMPARE(folders.user, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));

        // Tests run as root, whom permission bits do not stop: only trying tells.
        QTemporaryDir dir;
        QVERIFY(ui::canCreateFilesIn(dir.path()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        for (const QString &folder : {QStringLiteral("/proc"), dir.filePath(QStringLiteral("missing")),
                                      touched(dir, "plain"), QString()})
            QVERIFY2(!ui::canCreateFilesIn(folder), qPrintable(folder));
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
