// The real platform layer: what the operator's dialogs look like.
#include "platform/monotonic.h"
#include "platform/platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <functional>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Runs `inspect` on the modal dialog once it is up; `inspect` reads what it shows, then lets it go, so that a
// failed check does not leave it open.
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
    void messageBoxes()
    {
        for (const auto &[icon, expected] :
             {std::pair{platform::MessageIcon::Information, QMessageBox::Information}, std::pair{platform::MessageIcon::Warning, QMessageBox::Warning},
              std::pair{platform::MessageIcon::Critical, QMessageBox::Critical}}) {
            QString shown; // title|text|icon|buttons
            whenModal([&shown](QWidget *modal) {
                if (auto *box = qobject_cast<QMessageBox *>(modal))
                    shown = QStringLiteral("%1|%2|%3|%4").arg(box->windowTitle(), box->text()).arg(int(box->icon())).arg(box->standardButtons().toInt());
                qobject_cast<QDialog *>(modal)->reject();
            });
            platform::systemPlatform().messages->show(nullptr, icon, QStringLiteral("Error saving"));
            QCOMPARE(shown, QStringLiteral("Taikan|Error saving|%1|%2").arg(int(expected)).arg(int(QMessageBox::Ok)));
        }
    }

    void fileDialog()
    {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("gong.wav"));
        QVERIFY(QFile(wav).open(QIODevice::WriteOnly));
        const auto open = [&] {
            return platform::systemPlatform().files->openFile(nullptr, QStringLiteral("Find soundfile"), QStringLiteral("*.wav"), QStringLiteral("*.wav"),
                                                              dir.path());
        };
        QStringList shown; // the title, then the filters
        whenModal([&shown](QWidget *modal) {
            if (auto *dialog = qobject_cast<QFileDialog *>(modal))
                shown = QStringList{dialog->windowTitle()} + dialog->nameFilters();
            qobject_cast<QDialog *>(modal)->reject();
        });
        QCOMPARE(open(), std::nullopt); // cancelled: nothing
        QCOMPARE(shown, (QStringList{"Find soundfile", "*.wav"}));
        whenModal([&wav](QWidget *modal) {
            if (auto *dialog = qobject_cast<QFileDialog *>(modal))
                dialog->selectFile(wav);
            QMetaObject::invokeMethod(modal, "accept");
        });
        QCOMPARE(open(), std::optional<QString>(wav)); // a file chosen: its full path
    }

    void settingsFolders()
    {
        const platform::SettingsFolders folders = platform::systemSettingsFolders();
        QCOMPARE(folders.program, QCoreApplication::applicationDirPath());
        QVERIFY(folders.programWritable); // the build folder
#ifdef Q_OS_WIN                           // the roaming application data, which follows the user to other PCs of a network
        const QString base = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
#else
        const QString base = qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
#endif
        QCOMPARE(folders.user, base + u'/' + QCoreApplication::applicationName());

        // Tests run as root, whom permission bits do not stop: only trying tells. The try leaves nothing behind.
        QTemporaryDir dir;
        QVERIFY(platform::canCreateFilesIn(dir.path()));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
        const QString plain = dir.filePath(QStringLiteral("plain"));
        QVERIFY(QFile(plain).open(QIODevice::WriteOnly));
        for (const QString &folder : {QStringLiteral("/proc"), dir.filePath(QStringLiteral("missing")), plain, QString()})
            QVERIFY2(!platform::canCreateFilesIn(folder), qPrintable(folder));
    }

    // The match clock's time, read in a process of its own as the program reads it: it goes forward with the
    // time. Where Windows lacks the precise interrupt time (Wine does), it says once on standard error that it
    // counts by the performance counter.
    void monotonicClock()
    {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--monotonic")});
        QVERIFY(child.waitForFinished(30000));
        const QByteArray elapsed = child.readAllStandardOutput().trimmed();
        QVERIFY2(elapsed.toLongLong() >= 45 && elapsed.toLongLong() < 2000, elapsed.constData());
        QString said;
#ifdef Q_OS_WIN
        bool precise = false;
        for (const wchar_t *name : {L"kernel32.dll", L"kernelbase.dll"})
            precise = precise || GetProcAddress(GetModuleHandleW(name), "QueryInterruptTimePrecise");
        if (!precise)
            said = QStringLiteral("Taikan: no QueryInterruptTimePrecise in kernel32.dll or kernelbase.dll; the match "
                                  "clock runs on the performance counter\n");
#endif
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardError()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), said);
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--monotonic") == 0) { // the child of monotonicClock
        const std::int64_t first = platform::monotonicMs();
        QThread::msleep(50);
        std::printf("%lld\n", static_cast<long long>(platform::monotonicMs() - first));
        return 0;
    }
    QApplication app(argc, argv);
    PlatformTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_platform.moc"
