// The setup strip and the settings file, driven through the console.
#include "console/console.h"
#include "settings/setuppanel.h"
#include "support/fakeplatform.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

using testing::FakePlatform;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Files larger than `bytes` cannot be written while this lives, for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class SetupTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakePlatform> m_fake;
    std::unique_ptr<console::Kata> m_kata;

    // A console started with the current settings directory, as at program start.
    void start()
    {
        m_kata.reset();
        m_kata = std::make_unique<console::Kata>(m_fake->platform());
        m_kata->show();
    }
    template <typename T = QWidget>
    T *get(const char *name) const
    {
        T *widget = m_kata->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char *name) const { return get<QLineEdit>(name)->text(); }
    void click(const char *name)
    {
        QWidget *widget = get(name);
        QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    }
    bool mirrored() const { return get("Label18")->x() == ui::px(240) && get("Shape1")->x() == ui::px(3120); }
    void expectDesignValues()
    {
        QCOMPARE(text("eindwav"), QString());
        QCOMPARE(text("waarwav"), QString());
        QCOMPARE(text("hsch"), QStringLiteral("1"));
        QCOMPARE(text("vsch"), QStringLiteral("1"));
        QCOMPARE(text("fsch"), QStringLiteral("1"));
        QVERIFY(!get<QCheckBox>("Check10")->isChecked());
        QVERIFY(!get<QCheckBox>("Check11")->isChecked());
        QVERIFY(!mirrored());
        QCOMPARE(get("Label18")->x(), ui::px(5160)); // the design arrangement
    }
    void fill(const QString &end, const QString &warning, const QString &h, const QString &v, const QString &f)
    {
        get<QLineEdit>("eindwav")->setText(end);
        get<QLineEdit>("waarwav")->setText(warning);
        get<QLineEdit>("hsch")->setText(h);
        get<QLineEdit>("vsch")->setText(v);
        get<QLineEdit>("fsch")->setText(f);
    }
    QStringList fieldTexts() const
    {
        return {text("eindwav"), text("waarwav"), text("hsch"), text("vsch"), text("fsch"),
                QString::number(get<QCheckBox>("Check10")->isChecked()),
                QString::number(get<QCheckBox>("Check11")->isChecked())};
    }
    void expectOnlyMessage(ui::MessageIcon icon, const QString &message)
    {
        QCOMPARE(m_fake->messages.shown.size(), 1);
        QCOMPARE(m_fake->messages.shown.first().icon, icon);
        QCOMPARE(m_fake->messages.shown.first().text, message);
        m_fake->messages.shown.clear();
    }

private slots:
    void init()
    {
        m_fake = std::make_unique<FakePlatform>();
        start();
    }
    void cleanup()
    {
        m_kata.reset();
        m_fake.reset();
    }

    void setupButtonOpensAndCloses()
    {
        const QRect closedClient = m_kata->client()->rect();
        QVERIFY(!closedClient.intersects(get("Frame13")->geometry()));
        get<QLineEdit>("eindwav")->setText(QStringLiteral("typed.wav"));
        get<QLineEdit>("hsch")->setText(QStringLiteral("2"));

        click("MyButton1");
        QCOMPARE(m_kata->outerHeight(), 7800);
        QCOMPARE(get<QAbstractButton>("MyButton1")->text(), QStringLiteral("Close setup"));
        QCOMPARE(m_kata->client()->height(), ui::px(7035));
        for (const char *frame : {"Frame13", "Frame15", "Frame4"})
            QVERIFY2(m_kata->client()->rect().contains(get(frame)->geometry()), frame);
        QCOMPARE(m_kata->client()->width(), closedClient.width());

        click("MyButton1");
        QCOMPARE(m_kata->outerHeight(), 5695);
        QCOMPARE(get<QAbstractButton>("MyButton1")->text(), QStringLiteral("Setup"));
        QCOMPARE(m_kata->client()->rect(), closedClient);

        // Out of view, its fields cannot be reached with the keyboard either.
        QVERIFY(!get("eindwav")->isEnabled() && !get("MyButton7")->isEnabled());
        QVERIFY(get("MyButton1")->isEnabled() && get("Text5")->isEnabled());

        click("MyButton1");
        QVERIFY(get("eindwav")->isEnabled() && get("hsch")->isEnabled());
        QCOMPARE(text("eindwav"), QStringLiteral("typed.wav")); // kept while hidden
        QCOMPARE(text("hsch"), QStringLiteral("2"));
    }

    void menuEntryOnlyOpens()
    {
        auto *entry = get<QAction>("su");
        entry->trigger();
        QCOMPARE(m_kata->outerHeight(), 7800);
        QCOMPARE(get<QAbstractButton>("MyButton1")->text(), QStringLiteral("Close setup"));
        entry->trigger();
        QCOMPARE(m_kata->outerHeight(), 7800);
        QCOMPARE(get<QAbstractButton>("MyButton1")->text(), QStringLiteral("Close setup"));
    }

    void findSoundFills_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("other");
        QTest::newRow("end of match") << QByteArray("MyButton4") << QByteArray("eindwav") << QByteArray("waarwav");
        QTest::newRow("warning") << QByteArray("MyButton5") << QByteArray("waarwav") << QByteArray("eindwav");
    }
    void findSoundFills()
    {
        QFETCH(QByteArray, button);
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, other);
        click("MyButton1");
        get<QLineEdit>(other.constData())->setText(QStringLiteral("other.wav"));
        get<QLineEdit>(field.constData())->setText(QStringLiteral("old.wav"));

        m_fake->files.answers = {QStringLiteral("/media/usb/Geluiden/gong 2.wav")};
        click(button.constData());
        QCOMPARE(m_fake->files.requests.size(), 1);
        const auto &request = m_fake->files.requests.first();
        QCOMPARE(request.title, QStringLiteral("Find soundfile"));
        QCOMPARE(request.fileName, QStringLiteral("*.wav"));
        QCOMPARE(request.filter, QStringLiteral("*.wav"));
        QCOMPARE(request.directory, QStringLiteral("/"));
        QCOMPARE(text(field.constData()), QStringLiteral("/media/usb/Geluiden/gong 2.wav"));
        QCOMPARE(text(other.constData()), QStringLiteral("other.wav"));

        // Cancelled: the setting stays.
        click(button.constData());
        QCOMPARE(text(field.constData()), QStringLiteral("/media/usb/Geluiden/gong 2.wav"));
        QVERIFY(!QFile::exists(m_fake->settingsPath())); // nothing saved on the way
    }

    void saveWritesTheSpecifiedForm()
    {
        click("MyButton1");
        fill("C:\\Geluid\\einde.wav", "/snd/waarschuwing.wav", "2", "1.5", "0.75");
        click("Check10");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Information, QStringLiteral("Ini-file saved"));
        QCOMPARE(readAll(m_fake->settingsPath()),
                 QByteArray("C:\\Geluid\\einde.wav\r\n/snd/waarschuwing.wav\r\n2\r\n1.5\r\n0.75\r\n 1 \r\n 0 \r\n"));

        // A second save replaces the first.
        click("Check10");
        click("Check11");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Information, QStringLiteral("Ini-file saved"));
        QVERIFY(readAll(m_fake->settingsPath()).endsWith("\r\n 0 \r\n 1 \r\n"));
    }

    void aRestartRestoresTheSetup()
    {
        click("MyButton1");
        fill(QStringLiteral("/snd/café einde.wav"), QStringLiteral("/snd/waar.wav"), "1.25", "0.8", "2");
        click("Check10");
        click("MyButton7");
        const QStringList saved = fieldTexts();

        start();
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(mirrored());
        QCOMPARE(m_kata->outerHeight(), 5695); // the strip starts closed
        QCOMPARE(get<QAbstractButton>("MyButton1")->text(), QStringLiteral("Setup"));
        QVERIFY(m_fake->messages.shown.size() == 1); // only the save's message

        // And back: unchecking Internal gives the normal arrangement, "Ao" at 5000.
        click("MyButton1");
        click("Check10");
        QVERIFY(!mirrored());
        QCOMPARE(get("Label18")->x(), ui::px(5000));
    }

    void zeroAndEmptyScalesAfterARestart()
    {
        click("MyButton1");
        fill("end.wav", "warn.wav", "0", "3", "4");
        click("Check11");
        click("MyButton7");
        QCOMPARE(readAll(m_fake->settingsPath()), QByteArray("end.wav\r\nwarn.wav\r\n0\r\n3\r\n4\r\n 0 \r\n 1 \r\n"));
        start();
        QCOMPARE(text("hsch"), QStringLiteral("1"));
        QCOMPARE(text("vsch"), QStringLiteral("3"));
        QVERIFY(get<QCheckBox>("Check11")->isChecked());

        // An emptied scale: the sound files come back, everything after them does not.
        click("MyButton1");
        click("Check10");
        get<QLineEdit>("vsch")->clear();
        click("MyButton7");
        start();
        QCOMPARE(text("eindwav"), QStringLiteral("end.wav"));
        QCOMPARE(text("waarwav"), QStringLiteral("warn.wav"));
        for (const char *scale : {"hsch", "vsch", "fsch"})
            QCOMPARE(text(scale), QStringLiteral("1"));
        QVERIFY(!get<QCheckBox>("Check10")->isChecked());
        QVERIFY(!get<QCheckBox>("Check11")->isChecked());
        QVERIFY(!mirrored());
    }

    void startUpFromFiles_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<bool>("mirror");
        QTest::newRow("line 6 is 1") << QByteArray("a\r\nb\r\n2\r\n3\r\n4\r\n 1 \r\n 0 \r\n")
                                     << QStringList{"a", "b", "2", "3", "4", "1", "0"} << true;
        QTest::newRow("CR only, line 7 empty") << QByteArray("a\rb\r2\r3\r4\r1\r\r")
                                               << QStringList{"a", "b", "2", "3", "4", "1", "0"} << true;
        QTest::newRow("letters on line 3") << QByteArray("a\r\nb\r\nbig\r\n3\r\n4\r\n1\r\n1\r\n")
                                           << QStringList{"a", "b", "1", "1", "1", "0", "0"} << false;
    }
    void startUpFromFiles()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, fields);
        QFETCH(bool, mirror);
        writeFile(m_fake->settingsPath(), file);
        start();
        QCOMPARE(fieldTexts(), fields);
        QCOMPARE(mirrored(), mirror);
        QVERIFY(m_fake->messages.shown.isEmpty());
    }

    void startUpSurvivesAnyKataIni()
    {
        const QString path = m_fake->settingsPath();
        // A directory of that name.
        QVERIFY(QDir().mkpath(path));
        start();
        expectDesignValues();
        QVERIFY(QDir().rmdir(path));

        // A pipe: reading it would wait for a writer forever.
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        start();
        QVERIFY(clock.elapsed() < 5000);
        expectDesignValues();
        QVERIFY(QFile::remove(path));

        // 100 MB of NUL bytes, no line end anywhere.
        {
            QFile big(path);
            QVERIFY(big.open(QIODevice::WriteOnly));
            QVERIFY(big.resize(100 << 20));
        }
        start();
        QCOMPARE(text("hsch"), QStringLiteral("1"));
        QVERIFY(!get<QCheckBox>("Check10")->isChecked());
        QVERIFY(m_fake->messages.shown.isEmpty());

        // Reading stops after 1 MiB (1,048,576 bytes): a second line that
        // begins exactly there is not read; one that ends before it is.
        for (const int firstLine : {(1 << 20) - 2, (1 << 20) - 12}) {
            writeFile(path, QByteArray(firstLine, 'x') + "\r\nwarn.wav\r\n");
            start();
            QCOMPARE(text("waarwav"), firstLine == (1 << 20) - 2 ? QString() : QStringLiteral("warn.wav"));
        }
    }

    // Saving must never lose the file that was there.
    void failedSavesKeepTheOldFile()
    {
        const QString path = m_fake->settingsPath();
        const QByteArray old("old.wav\r\nold2.wav\r\n2\r\n2\r\n2\r\n 1 \r\n 0 \r\n");
        writeFile(path, old);
        start();
        click("MyButton1");
        get<QLineEdit>("eindwav")->setText(QString(4096, QLatin1Char('n')) + QStringLiteral(".wav"));
        const QStringList before = fieldTexts();
        const int height = m_kata->outerHeight();

        {
            // The disk fills up while the new file is written.
            FileSizeLimit limit(64);
            click("MyButton7");
        }
        expectOnlyMessage(ui::MessageIcon::Critical, QStringLiteral("Error saving"));
        QCOMPARE(readAll(path), old);
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(m_kata->outerHeight(), height);
        QCOMPARE(QDir(m_fake->dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kata.ini"});

        // Once it can be written again, the next save succeeds.
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Information, QStringLiteral("Ini-file saved"));
        QVERIFY(readAll(path).startsWith(QByteArray(4096, 'n')));
    }

    void savingOverADirectoryFails()
    {
        const QString path = m_fake->settingsPath();
        QVERIFY(QDir().mkpath(path));
        writeFile(path + QStringLiteral("/inside"), "keep");
        click("MyButton1");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Critical, QStringLiteral("Error saving"));
        QVERIFY(QFileInfo(path).isDir());
        QCOMPARE(readAll(path + QStringLiteral("/inside")), QByteArray("keep"));
    }

    void savingWhereTheParentIsAFileFails()
    {
        const QString notADirectory = QDir(m_fake->dir.path()).filePath(QStringLiteral("plain"));
        writeFile(notADirectory, "plain bytes");
        FakePlatform &fake = *m_fake;
        m_kata.reset();
        m_kata = std::make_unique<console::Kata>(ui::Platform{
            &fake.messages, &fake.files, {notADirectory, true, fake.userFolder()}, &fake.displays, &fake.sounds});
        click("MyButton1");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Critical, QStringLiteral("Error saving"));
        QCOMPARE(readAll(notADirectory), QByteArray("plain bytes"));
    }

    // Installed for all users: the program's folder cannot be written.
    void readOnlyProgramFolderKeepsTheUsersFile()
    {
        const QByteArray shipped("ship.wav\r\nwarn.wav\r\n2\r\n2\r\n2\r\n 1 \r\n 0 \r\n");
        writeFile(m_fake->settingsPath(), shipped);
        m_fake->programWritable = false;
        start();
        // The file beside the program gives the starting values.
        QCOMPARE(fieldTexts(), (QStringList{"ship.wav", "warn.wav", "2", "2", "2", "1", "0"}));
        QVERIFY(mirrored());
        QVERIFY(!QFileInfo::exists(m_fake->userFolder()));

        click("MyButton1");
        fill("mine.wav", "warn.wav", "3", "2", "2");
        click("Check10");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Information, QStringLiteral("Ini-file saved"));
        QCOMPARE(readAll(m_fake->userSettingsPath()),
                 QByteArray("mine.wav\r\nwarn.wav\r\n3\r\n2\r\n2\r\n 0 \r\n 0 \r\n"));
        QCOMPARE(readAll(m_fake->settingsPath()), shipped);
        const QStringList saved = fieldTexts();

        // From now on the user's file is read; the program's is not.
        start();
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(!mirrored());
        writeFile(m_fake->settingsPath(), "other.wav\r\n");
        start();
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(m_fake->messages.shown.isEmpty());
    }

    void readOnlyProgramFolderWithoutAnyFile()
    {
        m_fake->programWritable = false;
        start();
        expectDesignValues();
        click("MyButton1");
        get<QLineEdit>("fsch")->setText(QStringLiteral("1.5"));
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Information, QStringLiteral("Ini-file saved"));
        QVERIFY(readAll(m_fake->userSettingsPath()).startsWith("\r\n\r\n1\r\n1\r\n1.5\r\n"));
        QVERIFY(!QFileInfo::exists(m_fake->settingsPath()));
        start();
        QCOMPARE(text("fsch"), QStringLiteral("1.5"));
    }

    void writableProgramFolderIgnoresTheUsersFile()
    {
        QVERIFY(QDir().mkpath(m_fake->userFolder()));
        const QByteArray users("user.wav\r\nuser.wav\r\n4\r\n4\r\n4\r\n 1 \r\n 1 \r\n");
        writeFile(m_fake->userSettingsPath(), users);
        start();
        expectDesignValues();
        click("MyButton1");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Information, QStringLiteral("Ini-file saved"));
        QVERIFY(QFileInfo(m_fake->settingsPath()).isFile());
        QCOMPARE(readAll(m_fake->userSettingsPath()), users);
    }

    void userFolderThatCannotBeMadeFailsTheSave()
    {
        // Where the configuration folder should go, there is a file.
        writeFile(m_fake->home.filePath(QStringLiteral(".config")), "a file");
        m_fake->programWritable = false;
        start();
        click("MyButton1");
        click("MyButton7");
        expectOnlyMessage(ui::MessageIcon::Critical, QStringLiteral("Error saving"));
        QCOMPARE(readAll(m_fake->home.filePath(QStringLiteral(".config"))), QByteArray("a file"));
        QVERIFY(!QFileInfo::exists(m_fake->settingsPath()));
    }
};

QTEST_MAIN(SetupTest)
#include "tst_setup.moc"
