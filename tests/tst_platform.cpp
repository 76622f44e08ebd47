// The real platform layer: what the operator's dialogs look like.
#include "ui/platform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// Runs `inspect` on the modal dialog once it is up, then lets it go.
void whenModal(std::function<void(QWidget *)> inspect)
{
    QTimer::singleShot(0, qApp, [inspect] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        inspect(modal);
    });
}

} // namespace

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxes_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("shown");
        QTest::newRow("information") << int(ui::MessageIcon::Information) << int(QMessageBox::Information);
        QTest::newRow("warning") << int(ui::MessageIcon::Warning) << int(QMessageBox::Warning);
        QTest::newRow("critical") << int(ui::MessageIcon::Critical) << int(QMessageBox::Critical);
    }
    void messageBoxes()
    {
        QFETCH(int, icon);
        QFETCH(int, shown);
        bool seen = false;
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Taikan"));
            QCOMPARE(box->text(), QStringLiteral("Error saving"));
            QCOMPARE(int(box->icon()), shown);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButton(box->buttons().first()), QMessageBox::Ok);
            seen = true;
            box->buttons().first()->click();
        });
        ui::systemPlatform().messages->show(nullptr, ui::MessageIcon(icon), QStringLiteral("Error saving"));
        QVERIFY(seen);
    }

    void fileDialog()
    {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("gong.wav"));
        QFile file(wav);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        ui::FileDialog &files = *ui::systemPlatform().files;

        // Cancelled: nothing.
        whenModal([](QWidget *modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("Find soundfile"));
            qobject_cast<QDialog *>(modal)->reject();
        });
        QCOMPARE(files.openFile(nullptr, QStringLiteral("Find soundfile"), QStringLiteral("*.wav"),
                                QStringLiteral("*.wav"), dir.path()),
                 std::nullopt);

        // A file chosen: its full path.
        whenModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->nameFilters(), QStringList{"*.wav"});
            dialog->selectFile(wav);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QCOMPARE(files.openFile(nullptr, QStringLiteral("Find soundfile"), QStringLiteral("*.wav"),
                                QStringLiteral("*.wav"), dir.path()),
                 std::optional<QString>(wav));
    }

    void settingsFolders()
    {
        const ui::SettingsFolders folders = ui::systemSettingsFolders();
        QCOMPARE(folders.program, QCoreApplication::applicationDirPath());
        QVERIFY(folders.programWritable); // the build folder
        QCOMPARE(folders.user, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
        QVERIFY(folders.user.endsWith(QCoreApplication::applicationName()));
    }

    // Tests run as root, whom permission bits do not stop: only trying tells.
    void canCreateFilesIn()
    {
        QTemporaryDir dir;
        QVERIFY(ui::canCreateFilesIn(dir.path()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());

        QVERIFY(!ui::canCreateFilesIn(QStringLiteral("/proc")));
        QVERIFY(!ui::canCreateFilesIn(dir.filePath(QStringLiteral("missing"))));
        const QString plain = dir.filePath(QStringLiteral("plain"));
        QFile file(plain);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!ui::canCreateFilesIn(plain));
        QVERIFY(!ui::canCreateFilesIn(QString()));
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
