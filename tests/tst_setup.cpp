// The setup strip and the settings file, driven through the console.
#include "support/console.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QElapsedTimer>

using testing::readFile;
using testing::writeFile;

class SetupTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<testing::Console> c;

    bool mirrored() const { return c->get("Label18")->x() == ui::px(240) && c->get("Shape1")->x() == ui::px(3120); }
    QStringList fieldTexts() const
    {
        QStringList texts;
        for (const char *name : {"eindwav", "waarwav", "hsch", "vsch", "fsch"})
            texts << c->text(name);
        return texts << QString::number(c->get<QCheckBox>("Check10")->isChecked()) << QString::number(c->get<QCheckBox>("Check11")->isChecked());
    }
    void expectStrip(int outerHeight, const char *caption)
    {
        QCOMPARE(c->kata->outerHeight(), outerHeight);
        QCOMPARE(c->get<QAbstractButton>("MyButton1")->text(), QLatin1String(caption));
    }
    // "Save" in the strip, opened first if need be, and the one message it gives.
    void save(bool saved = true)
    {
        if (c->kata->outerHeight() != 7800)
            c->click("MyButton1");
        c->click("MyButton7");
        QCOMPARE(c->fake.messages.shown,
                 (QList<testing::ShownMessage>{saved ? testing::ShownMessage{platform::MessageIcon::Information, "Ini-file saved"}
                                                     : testing::ShownMessage{platform::MessageIcon::Critical, "Error saving"}}));
        c->fake.messages.shown.clear();
    }

private slots:
    void init() { c = std::make_unique<testing::Console>(nullptr, false); }
    void cleanup() { c.reset(); }

    void stripAndFindSound()
    {
        c->setText("eindwav", QStringLiteral("typed.wav"));
        c->click("MyButton1");
        expectStrip(7800, "Close setup");
        c->click("MyButton1");
        expectStrip(5695, "Setup");
        // Out of view, its fields cannot be reached with the keyboard either.
        QVERIFY(!c->get("eindwav")->isEnabled() && !c->get("MyButton7")->isEnabled());
        QVERIFY(c->get("MyButton1")->isEnabled() && c->get("Text5")->isEnabled());

        // The menu entry only opens.
        c->get<QAction>("su")->trigger();
        c->get<QAction>("su")->trigger();
        expectStrip(7800, "Close setup");
        QVERIFY(c->get("eindwav")->isEnabled() && c->get("MyButton7")->isEnabled());
        QCOMPARE(c->text("eindwav"), QStringLiteral("typed.wav")); // kept while hidden

        // "Find" fills a sound field; a cancelled dialog leaves it as it was.
        for (const auto &[button, field] : {std::pair{"MyButton4", "eindwav"}, std::pair{"MyButton5", "waarwav"}}) {
            c->setText(field, QStringLiteral("old.wav"));
            c->fake.files.answers = {QStringLiteral("/media/usb/Geluiden/gong 2.wav")};
            c->fake.files.requests.clear();
            c->click(button);
            QCOMPARE(c->fake.files.requests.size(), 1);
            const auto &request = c->fake.files.requests.first();
            QCOMPARE((QStringList{request.title, request.fileName, request.filter, request.directory}),
                     (QStringList{"Find soundfile", "*.wav", "*.wav", QDir::rootPath()}));
            QCOMPARE(c->text(field), QStringLiteral("/media/usb/Geluiden/gong 2.wav"));
            c->click(button); // cancelled: the setting stays
            QCOMPARE(c->text(field), QStringLiteral("/media/usb/Geluiden/gong 2.wav"));
        }
        QVERIFY(!QFile::exists(c->fake.settingsPath())); // nothing saved on the way
    }

    void saveAndRestart()
    {
        c->click("MyButton1");
        const std::pair<const char *, const char *> values[] = {
            {"eindwav", "C:\\Geluid\\einde.wav"}, {"waarwav", "/snd/waarschuwing.wav"}, {"hsch", "2"}, {"vsch", "1.5"}, {"fsch", "0.75"}};
        for (const auto &[name, value] : values)
            c->setText(name, QLatin1String(value));
        c->click("Check10");
        save();
        QCOMPARE(readFile(c->fake.settingsPath()), QByteArray("C:\\Geluid\\einde.wav\r\n/snd/waarschuwing.wav\r\n2\r\n1.5\r\n0.75\r\n 1 \r\n 0 \r\n"));
        QStringList saved = fieldTexts();

        c->restart(); // mirrored at once, the strip closed, nothing said
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(mirrored());
        expectStrip(5695, "Setup");
        QVERIFY(c->fake.messages.shown.isEmpty());

        // A second save replaces the first.
        c->click("MyButton1");
        c->click("Check10");
        c->setText("eindwav", QStringLiteral("/snd/café einde.wav"));
        c->click("Check11");
        save();
        // In the system's 8-bit encoding: UTF-8 on Linux, code page 1252 on the tests' Windows (Wine, English).
        QCOMPARE(readFile(c->fake.settingsPath()),
                 QByteArray(testing::kPosix ? "/snd/caf\xC3\xA9 einde.wav" : "/snd/caf\xE9 einde.wav")
                     + "\r\n/snd/waarschuwing.wav\r\n2\r\n1.5\r\n0.75\r\n 0 \r\n 1 \r\n");
        saved = fieldTexts();
        c->restart();
        QCOMPARE(fieldTexts(), saved);

        // A path the system's 8-bit encoding cannot hold (Japanese on a
        // Western European Windows) is not saved as "?": then, and only then,
        // the file is UTF-8 after a byte-order mark. Linux's UTF-8 holds it.
        c->click("MyButton1");
        c->setText("waarwav", QStringLiteral("C:/Users/山田/gong – Ende.wav"));
        save();
        QCOMPARE(readFile(c->fake.settingsPath()),
                 QByteArray(testing::kPosix ? "" : "\xEF\xBB\xBF")
                     + "/snd/caf\xC3\xA9 einde.wav\r\nC:/Users/\xE5\xB1\xB1\xE7\x94\xB0/gong \xE2\x80\x93 Ende.wav\r\n2\r\n1.5\r\n0.75\r\n 0 \r\n 1 \r\n");
        saved = fieldTexts();
        c->restart();
        QCOMPARE(fieldTexts(), saved);
    }

    void startUpSurvivesAnyKataIni()
    {
        const QString path = c->fake.settingsPath();
        // A directory of that name, or a pipe: reading that would wait for a writer forever.
        for (const bool pipe : {false, testing::kPosix}) {
            QVERIFY(pipe ? testing::makePipe(path) : QDir().mkpath(path));
            QElapsedTimer clock;
            clock.start();
            c->restart();
            QVERIFY(clock.elapsed() < 5000);
            QCOMPARE(fieldTexts(), (QStringList{"", "", "1", "1", "1", "0", "0"})); // as designed
            QVERIFY(pipe ? QFile::remove(path) : QDir().rmdir(path));
        }
        // Reading stops after 1 MiB (1,048,576 bytes): a second line that
        // begins exactly there is not read; one that ends before it is.
        for (const int firstLine : {(1 << 20) - 2, (1 << 20) - 12}) {
            QVERIFY(writeFile(path, QByteArray(firstLine, 'x') + "\r\nwarn.wav\r\n"));
            c->restart();
            QCOMPARE(c->text("waarwav"), firstLine == (1 << 20) - 2 ? QString() : QStringLiteral("warn.wav"));
        }
        // A bad line: the sound files come back, the rest keeps its design value.
        QVERIFY(writeFile(path, "a\r\nb\r\nbig\r\n3\r\n4\r\n1\r\n1\r\n"));
        c->restart();
        QCOMPARE(fieldTexts(), (QStringList{"a", "b", "1", "1", "1", "0", "0"}));
        QVERIFY(c->fake.messages.shown.isEmpty());
        if (!testing::kPosix)
            QSKIP(testing::kNoPipes);
    }

    // Saving must never lose the file that was there.
    void failedSavesKeepTheOldFile()
    {
        const QString path = c->fake.settingsPath();
        const QByteArray old("old.wav\r\nold2.wav\r\n2\r\n2\r\n2\r\n 1 \r\n 0 \r\n");
        QVERIFY(writeFile(path, old));
        c->restart();
        c->click("MyButton1");
        c->setText("eindwav", QString(4096, QLatin1Char('n')) + QStringLiteral(".wav"));
        const QStringList before = fieldTexts();
        // The disk fills up while the new file is written: no file over 64 bytes.
        if (testing::kPosix) {
            testing::limitFileSizes(64);
            save(false);
            testing::limitFileSizes(-1);
            QCOMPARE(readFile(path), old);
            QCOMPARE(fieldTexts(), before);
            expectStrip(7800, "Close setup");
            QCOMPARE(QDir(c->fake.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kata.ini"});
        }
        save(); // once it can be written again
        QVERIFY(readFile(path).startsWith(QByteArray(4096, 'n')));
        // A directory in its place stays, and what is in it.
        QVERIFY(QFile::remove(path) && QDir().mkpath(path));
        QVERIFY(writeFile(path + QStringLiteral("/inside"), "keep"));
        save(false);
        QCOMPARE(readFile(path + QStringLiteral("/inside")), QByteArray("keep"));
        if (!testing::kPosix)
            QSKIP(testing::kNoFileSizeLimit);
    }

    // Installed for all users, the program's folder cannot be written: kata.ini goes to the user's folder.
    void whichFolderKeepsTheFile()
    {
        const QByteArray shipped("ship.wav\r\nwarn.wav\r\n2\r\n2\r\n2\r\n 1 \r\n 0 \r\n");
        QVERIFY(writeFile(c->fake.settingsPath(), shipped));
        c->fake.programWritable = false;
        c->restart();
        // The file beside the program gives the starting values.
        QCOMPARE(fieldTexts(), (QStringList{"ship.wav", "warn.wav", "2", "2", "2", "1", "0"}));
        QVERIFY(mirrored());
        QVERIFY(!QFileInfo::exists(c->fake.userFolder()));
        c->click("MyButton1");
        c->setText("eindwav", QStringLiteral("mine.wav"));
        c->click("Check10");
        // A file where the user's folder should go: it stays, and nothing goes beside the program instead.
        const QString config = c->fake.home.filePath(QStringLiteral(".config"));
        QVERIFY(writeFile(config, "a file"));
        save(false);
        QCOMPARE(readFile(config), QByteArray("a file"));
        QVERIFY(QFile::remove(config));
        save();
        QCOMPARE(readFile(c->fake.userSettingsPath()), QByteArray("mine.wav\r\nwarn.wav\r\n2\r\n2\r\n2\r\n 0 \r\n 0 \r\n"));
        QCOMPARE(readFile(c->fake.settingsPath()), shipped);
        const QStringList saved = fieldTexts();
        // From now on the user's file is read; the program's is not.
        QVERIFY(writeFile(c->fake.settingsPath(), "other.wav\r\n"));
        c->restart();
        QCOMPARE(fieldTexts(), saved);
        QVERIFY(!mirrored());
    }
};

QTEST_MAIN(SetupTest)
#include "tst_setup.moc"
