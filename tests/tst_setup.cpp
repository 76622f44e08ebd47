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

// Runs `act` while files larger than `bytes` cannot be written, for root too.
template <typename Act>
void withFileSizeLimit(rlim_t bytes, Act act)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limit{bytes, old.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    act();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

} // namespace

class SetupTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FakePlatform> m_fake;
    std::unique_ptr<console::Kata> m_kata;

    // A console started with the current settings folders, as at program start.
    void start()
    {
        m_kata.reset();
        m_kata = std::make_unique<console::Kata>(m_fake->platform());
        m_kata->show();
    }
    template <typename T = QWidget>
    T *get(const char *name) const
    {
        if (T *widget = m_kata->findChild<T *>(QLatin1String(name)))
            return widget;
        qFatal("no control %s", name);
    }
    QString text(const char *name) const { return get<QLineEdit>(name)->text(); }
    void click(const char *name) { QTest::mouseClick(get(name), Qt::LeftButton); }
    bool mirrored() const { return get("Label18")->x() == ui::px(240) && get("Shape1")->x() == ui::px(3120); }
    QStringList fieldTexts() const
    {
        return {text("eindwav"), text("waarwav"), text("hsch"), text("vsch"), text("fsch"),
                QString::number(get<QCheckBox>("Check10")->isChecked()),
                QString::number(get<QCheckBox>("Check11")->isChecked())};
    }
    void expectStrip(int outerHeight, const char *caption)
    {
        QCOMPARE(m_kata->outerHeight(), outerHeight);
        QCOMPARE(get<QAbstractButton>("MyButton1")->text(), QLatin1String(caption));
    }
    // "Save" in the strip, opened first if need be, and the one message it gives.
    void save(bool saved = true)
    {
        if (m_kata->outerHeight() != 7800)
            click("MyButton1");
        click("MyButton7");
        QCOMPARE(m_fake->messages.shown.size(), 1);
        QCOMPARE(m_fake->messages.shown.first().icon, saved ? ui::MessageIcon::Information : ui::MessageIcon::Critical);
        QCOMPARE(m_fake->messages.shown.first().text, QLatin1String(saved ? "Ini-file saved" : "Error saving"));
        m_fake->messages.shown.clear();
    }

private slots:
    void init()
    {
        m_kata.reset(); // before the platform it was given
        m_fake = std::make_unique<FakePlatform>();
        start();
    }

    void stripOpensAndCloses()
    {
        get<QLineEdit>("eindwav")->setText(QStringLiteral("typed.wav"));
        click("MyButton1");
        expectStrip(7800, "Close setup");
        click("MyButton1");
        expectStrip(5695, "Setup");
        // Out of view, its fields cannot be reached with the keyboard either.
        QVERIFY(!get("eindwav")->isEnabled() && !get("MyButton7")->isEnabled());
        QVERIFY(get("MyButton1")->isEnabled() && get("Text5")->isEnabled());

        // The menu entry only opens.
        get<QAction>("su")->trigger();
        get<QAction>("su")->trigger();
        expectStrip(7800, "Close setup");
        QVERIFY(get("eindwav")->isEnabled() && get("MyButton7")->isEnabled());
        QCOMPARE(text("eindwav"), QStringLiteral("typed.wav")); // kept while hidden
    }

    void findSoundFills()
    {
        click("MyButton1");
        for (const auto &[button, field] : {std::pair{"MyButton4", "eindwav"}, std::pair{"MyButton5", "waarwav"}}) {
            get<QLineEdit>(field)->setText(QStringLiteral("old.wav"));
            m_fake->files.answers = {QStringLiteral("/media/usb/Geluiden/gong 2.wav")};
            m_fake->files.requests.clear();
            click(button);
            QCOMPARE(m_fake->files.requests.size(), 1);
            const auto &request = m_fake->files.requests.first();
            QCOMPARE((QStringList{request.title, request.fileName, request.filter, request.directory}),
                     (QStringList{"Find soundfile", "*.wav", "*.wav", "/"}));
            QCOMPARE(text(field), QStringLiteral("/media/usb/Geluiden/gong 2.wav"));
            click(button); // cancelled: the setting stays
            QCOMPARE(text(field), QStringLiteral("/media/usb/Geluiden/gong 2.wav"));
        }
        QVERIFY(!QFile::exists(m_fake->settingsPath())); // nothing saved on the way
    }

    void saveAndRestart()
    {
        click("MyButton1");
        const std::pair<const char *, const char *> values[] = {{"eindwav", "C:\\Geluid\\einde.wav"},
                                                                {"waarwav", "/snd/waarschuwing.wav"},
                                                                {"hsch", "2"}, {"vsch", "1.5"}, {"fsch", "0.75"}};
        for (const auto &[name, value] : values)
            get<QLineEdit>(name)->setText(QLatin1String(value));
        click("Check10");
        save();
        QCOMPARE(readAll(m_fake->settingsPath()),
                 QByteArray("C:\\Geluid\\einde.wav\r\n/snd/waarschuwing.wav\r\n2\r\n1.5\r\n0.75\r\n 1 \r\n 0 \r\n"));
        QStringList saved = fieldTexts();

        start(); // mirrored at once, the strip closed, nothing said
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(mirrored());
        expectStrip(5695, "Setup");
        QVERIFY(m_fake->messages.shown.isEmpty());

        // Unchecking Internal gives the normal arrangement, "Ao" at 5000; a second save replaces the first.
        click("MyButton1");
        click("Check10");
        QCOMPARE(get("Label18")->x(), ui::px(5000));
        get<QLineEdit>("eindwav")->setText(QStringLiteral("/snd/café einde.wav"));
        click("Check11");
        save();
        QVERIFY(readAll(m_fake->settingsPath()).endsWith("\r\n/snd/waarschuwing.wav\r\n2\r\n1.5\r\n0.75\r\n 0 \r\n 1 \r\n"));
        saved = fieldTexts();
        start();
        QCOMPARE(fieldTexts(), saved);
    }

    void startUpSurvivesAnyKataIni()
    {
        const QString path = m_fake->settingsPath();
        // A directory of that name, or a pipe: reading that would wait for a writer forever.
        for (const bool pipe : {false, true}) {
            QVERIFY(pipe ? mkfifo(QFile::encodeName(path).constData(), 0600) == 0 : QDir().mkpath(path));
            QElapsedTimer clock;
            clock.start();
            start();
            QVERIFY(clock.elapsed() < 5000);
            QCOMPARE(fieldTexts(), (QStringList{"", "", "1", "1", "1", "0", "0"})); // as designed
            QVERIFY(pipe ? QFile::remove(path) : QDir().rmdir(path));
        }
        // Reading stops after 1 MiB (1,048,576 bytes): a second line that
        // begins exactly there is not read; one that ends before it is.
        for (const int firstLine : {(1 << 20) - 2, (1 << 20) - 12}) {
            writeFile(path, QByteArray(firstLine, 'x') + "\r\nwarn.wav\r\n");
            start();
            QCOMPARE(text("waarwav"), firstLine == (1 << 20) - 2 ? QString() : QStringLiteral("warn.wav"));
        }
        // A bad line: the sound files come back, the rest keeps its design value.
        writeFile(path, "a\r\nb\r\nbig\r\n3\r\n4\r\n1\r\n1\r\n");
        start();
        QCOMPARE(fieldTexts(), (QStringList{"a", "b", "1", "1", "1", "0", "0"}));
        QVERIFY(m_fake->messages.shown.isEmpty());
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
        withFileSizeLimit(64, [this] { save(false); }); // the disk fills up while the new file is written
        QCOMPARE(readAll(path), old);
        QCOMPARE(fieldTexts(), before);
        expectStrip(7800, "Close setup");
        QCOMPARE(QDir(m_fake->dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kata.ini"});
        save(); // once it can be written again
        QVERIFY(readAll(path).startsWith(QByteArray(4096, 'n')));
        // A directory in its place stays, and what is in it.
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        writeFile(path + QStringLiteral("/inside"), "keep");
        save(false);
        QCOMPARE(readAll(path + QStringLiteral("/inside")), QByteArray("keep"));
    }

    // Installed for all users, the program's folder cannot be written: kata.ini goes to the user's folder.
    void whichFolderKeepsTheFile()
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
        get<QLineEdit>("eindwav")->setText(QStringLiteral("mine.wav"));
        click("Check10");
        // A file where the user's folder should go: it stays, and nothing goes beside the program instead.
        const QString config = m_fake->home.filePath(QStringLiteral(".config"));
        writeFile(config, "a file");
        save(false);
        QCOMPARE(readAll(config), QByteArray("a file"));
        QVERIFY(QFile::remove(config));
        save();
        QCOMPARE(readAll(m_fake->userSettingsPath()), QByteArray("mine.wav\r\nwarn.wav\r\n2\r\n2\r\n2\r\n 0 \r\n 0 \r\n"));
        QCOMPARE(readAll(m_fake->settingsPath()), shipped);
        const QStringList saved = fieldTexts();
        // From now on the user's file is read; the program's is not.
        writeFile(m_fake->settingsPath(), "other.wav\r\n");
        start();
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(!mirrored());
        // Where the program's folder can be written, the user's file is ignored.
        m_fake->programWritable = true;
        start();
        QCOMPARE(text("eindwav"), QStringLiteral("other.wav"));
        save();
        QVERIFY(readAll(m_fake->settingsPath()).startsWith("other.wav\r\n\r\n1\r\n"));
        QVERIFY(readAll(m_fake->userSettingsPath()).startsWith("mine.wav\r\n"));
    }
};

QTEST_MAIN(SetupTest)
#include "tst_setup.moc"
