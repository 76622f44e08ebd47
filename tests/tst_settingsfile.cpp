// Reading and writing the settings file, as bytes.
#include "settings/settingsfile.h"

#include <QtTest>
#include <string>

using settings::readSettings;
using settings::ReadStop;
using settings::Settings;

namespace {

// end|warning|h|v|f|internal|external
QByteArray shown(const Settings &v)
{
    return QByteArray::fromStdString(v.endSound + '|' + v.warningSound + '|' + v.hScale + '|' + v.vScale + '|' + v.fontScale + (v.mirrorConsole ? "|1" : "|0")
                                     + (v.mirrorScoreboard ? "|1" : "|0") + (v.utf8 ? "|UTF-8" : ""));
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void reading()
    {
        const auto ok = ReadStop::Complete;
        struct Row {
            const char *name;
            QByteArray file, values;
            ReadStop stop;
            int lines;
        };
        const Row rows[] = {
            {"complete, line 5 kept as read", "C:\\snd\\end.wav\r\n/snd/warn.wav\r\n2\r\n1.5\r\n 0.8\r\n 1 \r\n 0 \r\n",
             "C:\\snd\\end.wav|/snd/warn.wav|2|1.5| 0.8|1|0", ok, 7},
            {"empty", "", "||1|1|1|0|0", ok, 0},
            {"five lines: no box line", "a\r\nb\r\n3\r\n4\r\n5\r\n", "a|b|3|4|5|0|0", ok, 5},
            {"six lines, the last unended", "a\r\nb\r\n3\r\n4\r\n5\r\n1", "a|b|3|4|5|1|0", ok, 6},
            {"zero scales stay 1", "\r\n\r\n0\r\n 0 \r\n0.0\r\n0\r\n0\r\n", "||1|1|1|0|0", ok, 7},
            // A bad line stops reading; the sound files are restored whatever follows them.
            {"letters on line 3", "a\r\nb\r\nabc\r\n2\r\n2\r\n1\r\n1\r\n", "a|b|1|1|1|0|0", ReadStop::BadScale, 7},
            {"bad line 5 after good ones", "a\r\nb\r\n2\r\n3\r\nx\r\n1\r\n1\r\n", "a|b|1|1|1|0|0", ReadStop::BadScale, 7},
            {"a comma is a decimal point; bad line 6", "a\r\nb\r\n1,5\r\n0,0\r\n2\r\nx\r\n1\r\n", "a|b|1,5|1|2|0|0", ReadStop::BadInternal, 7},
            {"empty line 7", "a\r\nb\r\n2\r\n3\r\n4\r\n1\r\n\r\n", "a|b|2|3|4|1|0", ReadStop::BadExternal, 7},
            // A box is checked by the number 1 only: the first box of each row is, the second is not.
            {"boxes 1 and 0", "\r\n\r\n1\r\n1\r\n1\r\n 1 \r\n0", "||1|1|1|1|0", ok, 7},
            {"boxes 1.0 and 2", "\r\n\r\n1\r\n1\r\n1\r\n1.0\r\n2", "||1|1|1|1|0", ok, 7},
            {"boxes +1 and -1", "\r\n\r\n1\r\n1\r\n1\r\n+1\r\n-1", "||1|1|1|1|0", ok, 7},
            {"CR, CR LF and LF", "a\rb\r\n2\n1\r1\r\n1\r0", "a|b|2|1|1|1|0", ok, 7},
            {"CR LF is one line end", "a\r\n\r\nb", "a||1|1|1|0|0", ReadStop::BadScale, 3},
            {"LF CR is two", "a\n\rb", "a||1|1|1|0|0", ReadStop::BadScale, 3},
            {"lines after the seventh", "a\r\nb\r\n1\r\n1\r\n1\r\n0\r\n1\r\ngarbage\r\n\x01\x02 more", "a|b|1|1|1|0|1", ok, 7},
            {"byte-order mark: UTF-8", "\xEF\xBB\xBF\xE5\xB1\xB1.wav\r\nb\r\n2", "\xE5\xB1\xB1.wav|b|2|1|1|0|0|UTF-8", ok, 3},
            {"NUL bytes", QByteArrayLiteral("snd\0x.wav\r\n\0\r\n"), QByteArrayLiteral("snd\0x.wav|\0|1|1|1|0|0"), ok, 2},
        };
        for (const Row &row : rows) {
            const auto result = readSettings(std::string_view(row.file.constData(), std::size_t(row.file.size())));
            QVERIFY2(shown(result.values) == row.values, row.name);
            QVERIFY2(result.stop == row.stop && result.linesRead == row.lines, row.name);
        }
    }

    // One line of 100 MB: the sound file takes it, nothing else is read.
    void aLongLine()
    {
        const std::string longLine(100u << 20, 'x');
        const auto big = readSettings(longLine);
        QCOMPARE(big.linesRead, 1);
        QCOMPARE(big.values.endSound.size(), longLine.size());
    }

    void lineNumbers()
    {
        const std::pair<const char *, double> good[] = {{" 1 ", 1.0}, {"\t2.5\t", 2.5}, {".5", 0.5},    {"5.", 5.0},
                                                        {"-3", -3.0}, {"1,5", 1.5},     {"1e2", 100.0}, {"1E-1", 0.1}};
        for (const auto &[text, value] : good)
            QVERIFY2(settings::lineNumber(text) == value, text);
        for (const char *bad : {"", " ", "-", ".", ",", "1 2", "1.5,2", "1,000,000", "0x1", "1e", "e1", "inf", "nan", "1e999", "--1", "1-"})
            QVERIFY2(!settings::lineNumber(bad).has_value(), bad);
    }

    void writing()
    {
        Settings v{"C:\\Geluid\\gong.wav", "", "0", "1.5", " 2", true, false};
        QCOMPARE(settings::writeSettings(v), std::string("C:\\Geluid\\gong.wav\r\n\r\n0\r\n1.5\r\n 2\r\n 1 \r\n 0 \r\n"));
        // What is written reads back; 8-bit text stays as it is; a line break inside a text cannot shift the lines.
        v = {"/home/tafel/Geluiden/einde wedstrijd.wav", "caf\xe9.wav", "1.25", "0.9", "3", false, true};
        QCOMPARE(readSettings(settings::writeSettings(v)).values, v);
        Settings broken = v;
        broken.endSound = "a\r\nb\nc";
        v.endSound = "abc";
        const auto back = readSettings(settings::writeSettings(broken));
        QCOMPARE(back.stop, ReadStop::Complete);
        QCOMPARE(back.values, v);
        v.utf8 = true;
        QVERIFY(settings::writeSettings(v).starts_with("\xEF\xBB\xBF"
                                                       "abc\r\n"));
        QCOMPARE(readSettings(settings::writeSettings(v)).values, v);
    }
};

QTEST_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
