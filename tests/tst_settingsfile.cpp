// Reading and writing the settings file, as bytes.
#include "settings/settingsfile.h"

#include <QtTest>
#include <string>

using settings::readSettings;
using settings::ReadStop;
using settings::Settings;

namespace {

std::string lines(std::initializer_list<const char *> texts, const char *end = "\r\n")
{
    std::string out;
    for (const char *text : texts)
        out += std::string(text) + end;
    return out;
}

Settings design() { return Settings{}; }

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void aCompleteFile()
    {
        const auto result = readSettings(lines({"C:\\snd\\end.wav", "/snd/warn.wav", "2", "1.5", " 0.8", " 1 ", " 0 "}));
        QCOMPARE(result.stop, ReadStop::Complete);
        QCOMPARE(result.linesRead, 7);
        const Settings &v = result.values;
        QCOMPARE(v.endSound, std::string("C:\\snd\\end.wav"));
        QCOMPARE(v.warningSound, std::string("/snd/warn.wav"));
        QCOMPARE(v.hScale, std::string("2"));
        QCOMPARE(v.vScale, std::string("1.5"));
        QCOMPARE(v.fontScale, std::string(" 0.8")); // kept as read
        QVERIFY(v.mirrorConsole);
        QVERIFY(!v.mirrorScoreboard);
    }

    void shortFiles()
    {
        QCOMPARE(readSettings("").values, design());
        QCOMPARE(readSettings("").linesRead, 0);

        Settings two = design();
        two.endSound = "a.wav";
        two.warningSound = "b.wav";
        QCOMPARE(readSettings(lines({"a.wav", "b.wav"})).values, two);

        // Five lines: no box line, so both unchecked.
        const auto five = readSettings(lines({"a", "b", "3", "4", "5"}));
        QCOMPARE(five.stop, ReadStop::Complete);
        QCOMPARE(five.values.fontScale, std::string("5"));
        QVERIFY(!five.values.mirrorConsole && !five.values.mirrorScoreboard);

        // Six lines, the last without its line end.
        const auto six = readSettings("a\r\nb\r\n3\r\n4\r\n5\r\n1");
        QCOMPARE(six.linesRead, 6);
        QVERIFY(six.values.mirrorConsole);
    }

    void zeroScalesBecomeOne()
    {
        const auto result = readSettings(lines({"", "", "0", " 0 ", "0.0", "0", "0"}));
        QCOMPARE(result.stop, ReadStop::Complete);
        QCOMPARE(result.values, design());
        QCOMPARE(readSettings(lines({"", "", "-0", "00", "0e5"})).values.hScale, std::string("1"));
    }

    void aBadLineStopsReading_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("stop");
        QTest::addColumn<QByteArray>("scales"); // h|v|f
        QTest::addColumn<bool>("internal");
        QTest::addColumn<bool>("external");
        const auto file = [](std::initializer_list<const char *> t) { return QByteArray::fromStdString(lines(t)); };
        QTest::newRow("letters on line 3") << file({"a", "b", "abc", "2", "2", "1", "1"}) << int(ReadStop::BadScale) << QByteArray("1|1|1") << false << false;
        QTest::newRow("empty line 4") << file({"a", "b", "2", "", "2", "1", "1"}) << int(ReadStop::BadScale) << QByteArray("1|1|1") << false << false;
        QTest::newRow("bad line 5 after good ones") << file({"a", "b", "2", "3", "x", "1", "1"}) << int(ReadStop::BadScale) << QByteArray("1|1|1") << false << false;
        QTest::newRow("a comma is a decimal point") << file({"a", "b", "1,5", "0,0", "2", "x"}) << int(ReadStop::BadInternal) << QByteArray("1,5|1|2") << false << false;
        QTest::newRow("bad line 6") << file({"a", "b", "2", "3", "4", "yes", "1"}) << int(ReadStop::BadInternal) << QByteArray("2|3|4") << false << false;
        QTest::newRow("empty line 6") << file({"a", "b", "2", "3", "4", "", "1"}) << int(ReadStop::BadInternal) << QByteArray("2|3|4") << false << false;
        QTest::newRow("empty line 7") << file({"a", "b", "2", "3", "4", "1", ""}) << int(ReadStop::BadExternal) << QByteArray("2|3|4") << true << false;
    }
    void aBadLineStopsReading()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, stop);
        QFETCH(QByteArray, scales);
        QFETCH(bool, internal);
        QFETCH(bool, external);
        const auto result = readSettings(file.toStdString());
        QCOMPARE(int(result.stop), stop);
        // The sound files are restored whatever follows them.
        QCOMPARE(result.values.endSound, std::string("a"));
        QCOMPARE(result.values.warningSound, std::string("b"));
        const QByteArray got = QByteArray::fromStdString(result.values.hScale + "|" + result.values.vScale + "|" + result.values.fontScale);
        QCOMPARE(got, scales);
        QCOMPARE(result.values.mirrorConsole, internal);
        QCOMPARE(result.values.mirrorScoreboard, external);
    }

    void boxesAreCheckedOnlyByOne()
    {
        const std::pair<const char *, bool> cases[] = {{" 1 ", true}, {"1.0", true}, {"+1", true},
                                                       {"0", false}, {"2", false}, {"-1", false}};
        for (const auto &[line, checked] : cases)
            QCOMPARE(readSettings(lines({"", "", "1", "1", "1", line})).values.mirrorConsole, checked);
    }

    void lineEnds()
    {
        const Settings expected = [] {
            Settings v;
            v.endSound = "a";
            v.warningSound = "b";
            v.hScale = "2";
            v.mirrorConsole = true;
            return v;
        }();
        QCOMPARE(readSettings(lines({"a", "b", "2", "1", "1", "1", "0"}, "\r")).values, expected);
        QCOMPARE(readSettings(lines({"a", "b", "2", "1", "1", "1", "0"}, "\n")).values, expected);
        QCOMPARE(readSettings("a\rb\r\n2\n1\r1\r\n1\r0").values, expected);
        // CR LF is one line end, not two; LF CR is two.
        QCOMPARE(readSettings("a\r\n\r\nb").values.warningSound, std::string());
        QCOMPARE(readSettings("a\n\rb").values.warningSound, std::string());
        // Only line ends: empty lines, and an empty line 3 is no number.
        QCOMPARE(readSettings(std::string(1000, '\r')).stop, ReadStop::BadScale);
    }

    void linesAfterTheSeventhAreIgnored()
    {
        std::string file = lines({"a", "b", "1", "1", "1", "0", "1"}) + "garbage\r\n\x01\x02 more";
        const auto result = readSettings(file);
        QCOMPARE(result.stop, ReadStop::Complete);
        QCOMPARE(result.linesRead, 7);
        QVERIFY(result.values.mirrorScoreboard);
    }

    void binaryContent()
    {
        std::string nul("snd\0x.wav\r\n\0\r\n", 15);
        const auto result = readSettings(nul);
        QCOMPARE(result.values.endSound, std::string("snd\0x.wav", 9));
        QCOMPARE(result.values.warningSound, std::string("\0", 1));

        std::string bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += char((i * 7919) % 256);
        readSettings(bytes); // any content gives a result

        // One line of 100 MB: the sound file takes it, nothing else is read.
        std::string longLine(100u << 20, 'x');
        const auto big = readSettings(longLine);
        QCOMPARE(big.linesRead, 1);
        QCOMPARE(big.values.endSound.size(), longLine.size());
    }

    void lineNumbers()
    {
        using settings::lineNumber;
        QCOMPARE(lineNumber(" 1 "), std::optional<double>(1.0));
        QCOMPARE(lineNumber("\t2.5\t"), std::optional<double>(2.5));
        QCOMPARE(lineNumber(".5"), std::optional<double>(0.5));
        QCOMPARE(lineNumber("5."), std::optional<double>(5.0));
        QCOMPARE(lineNumber("-3"), std::optional<double>(-3.0));
        QCOMPARE(lineNumber("1,5"), std::optional<double>(1.5));
        QCOMPARE(lineNumber("1e2"), std::optional<double>(100.0));
        QCOMPARE(lineNumber("1E-1"), std::optional<double>(0.1));
        for (const char *bad : {"", " ", "-", ".", ",", "1 2", "1.5,2", "1,000,000", "0x1", "1e", "e1", "inf", "nan", "1e999", "--1", "1-"})
            QVERIFY2(!lineNumber(bad).has_value(), bad);
    }

    void writtenForm()
    {
        Settings v;
        v.endSound = "C:\\Geluid\\gong.wav";
        v.warningSound = "";
        v.hScale = "0";
        v.vScale = "1.5";
        v.fontScale = " 2";
        v.mirrorConsole = true;
        v.mirrorScoreboard = false;
        QCOMPARE(settings::writeSettings(v),
                 std::string("C:\\Geluid\\gong.wav\r\n\r\n0\r\n1.5\r\n 2\r\n 1 \r\n 0 \r\n"));
        v.mirrorConsole = false;
        v.mirrorScoreboard = true;
        QVERIFY(settings::writeSettings(v).ends_with("\r\n 0 \r\n 1 \r\n"));
    }

    void writtenFilesReadBack()
    {
        Settings v;
        v.endSound = "/home/tafel/Geluiden/einde wedstrijd.wav";
        v.warningSound = std::string("caf\xe9.wav"); // 8-bit text stays as it is
        v.hScale = "1.25";
        v.vScale = "0.9";
        v.fontScale = "3";
        v.mirrorConsole = false;
        v.mirrorScoreboard = true;
        const auto back = readSettings(settings::writeSettings(v));
        QCOMPARE(back.stop, ReadStop::Complete);
        QCOMPARE(back.values, v);

        // A line break inside a text cannot shift the lines after it.
        Settings broken = v;
        broken.endSound = "a\r\nb\nc";
        const auto read = readSettings(settings::writeSettings(broken)).values;
        QCOMPARE(read.endSound, std::string("abc"));
        QCOMPARE(read.warningSound, v.warningSound);
        QCOMPARE(read.mirrorScoreboard, true);
    }
};

QTEST_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
