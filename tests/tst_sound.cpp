// The warning and end-of-match sounds, heard for real: parec records the null
// sink "taikan" of the PulseAudio server tools/test.sh starts (without it those
// cases are skipped), and the recording is measured.
#include "platform/sound.h"
#include "support/system.h"

#include <QApplication>
#include <QtTest> // and with it all of QtCore
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int kRate = 44100;
constexpr qint64 kPromptUs = 100'000; // play() returns well within this

// A sine of `hz` at 0.4 of full scale with 5 ms fades, as 16-bit samples, then
// a quarter second of silence for the end Qt 6.4 drops, as the built-in signals.
QByteArray tone(double seconds, double hz)
{
    const int n = int(std::lround(seconds * kRate)), fade = kRate / 200;
    QByteArray out(2 * (n + kRate / 4), '\0');
    for (int i = 0; i < n; ++i) {
        const double edge = std::min({1.0, double(i) / fade, double(n - 1 - i) / fade});
        const double value = 0.4 * edge * 32767 * std::sin(2 * std::numbers::pi * hz * i / kRate);
        qToLittleEndian(qint16(std::lround(value)), out.data() + 2 * i);
    }
    return out;
}

QByteArray le(quint32 value, int size = 4) // `value` as `size` little-endian bytes
{
    const quint32 bytes = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&bytes), size);
}

// A PCM WAV file: a 44-byte header, then `data`.
QByteArray wav(const QByteArray &data, quint32 channels = 1, quint32 rate = kRate, quint32 bits = 16)
{
    const quint32 frame = channels * bits / 8;
    return "RIFF" + le(36 + data.size()) + "WAVEfmt " + le(16) + le(1, 2) + le(channels, 2) + le(rate) + le(rate * frame)
        + le(frame, 2) + le(bits, 2) + "data" + le(data.size()) + data;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A stretch of sound between silences: start and length in seconds, RMS level
// (1 = full scale), and zero crossings a second / 2, the pitch of a tone.
struct Burst {
    double start = 0, length = 0, level = 0, hz = 0;
};

QDebug operator<<(QDebug debug, const Burst &b) // in a list, which keeps its own spacing
{
    return debug.nospace() << "Burst(at " << b.start << " s, " << b.length << " s, level " << b.level << ", " << b.hz
                           << " Hz)";
}

// The bursts in 16-bit little-endian `pcm` at kRate: 10 ms windows louder than
// 2 % of full scale, joined across quieter gaps of up to `bridge` seconds.
QList<Burst> bursts(const QByteArray &pcm, double bridge = 0.05)
{
    constexpr qsizetype window = kRate / 100;
    QList<qint16> samples(pcm.size() / 2);
    qFromLittleEndian<qint16>(pcm.constData(), samples.size(), samples.data());
    QList<Burst> out;
    for (qsizetype w = 0; (w + 1) * window <= samples.size(); ++w) {
        double power = 0; // mean square
        for (qsizetype i = w * window; i < (w + 1) * window; ++i)
            power += double(samples[i]) * samples[i] / (32768.0 * 32768.0 * window);
        if (power <= 0.02 * 0.02)
            continue;
        if (out.isEmpty() || w * 0.01 - out.last().start - out.last().length > bridge + 0.001)
            out.append(Burst{w * 0.01});
        out.last().length = (w + 1) * 0.01 - out.last().start;
        out.last().level += power; // a sum until the end
    }
    for (Burst &burst : out) {
        burst.level = std::sqrt(burst.level / std::lround(burst.length * 100));
        qsizetype crossings = 0, first = 0, last = 0;
        const qsizetype from = std::lround(burst.start * kRate), to = std::lround((burst.start + burst.length) * kRate);
        for (qsizetype i = from + 1; i < to; ++i) {
            if ((samples[i - 1] < 0) != (samples[i] < 0)) {
                first = crossings++ ? first : i;
                last = i;
            }
        }
        if (crossings > 1)
            burst.hz = (crossings - 1) / 2.0 * kRate / double(last - first);
    }
    return out;
}

// The Linux tools the test listens with, started from the Unix shell. Under Wine a Windows program can start
// them (its drive Z: is the Unix root) but not read them through a pipe: what they say goes to files.
QString unixRoot()
{
    static const QString root = QFileInfo::exists(QStringLiteral("Z:/bin/sh")) ? QStringLiteral("Z:") : QString();
    return root;
}

// Starts `script` in the Unix shell, each of `files` as $1, $2, ... by its Unix name.
bool shell(const QString &script, QStringList files = {})
{
    for (QString &file : files)
        file.remove(0, unixRoot().size());
    return QProcess::startDetached(unixRoot() + QStringLiteral("/bin/sh"),
                                   QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + files);
}

// What a file holds once it is there, within `ms`.
QByteArray awaited(const QString &path, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!QFileInfo::exists(path) && !deadline.hasExpired())
        QTest::qWait(10);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// Records the monitor of the null sink "taikan" through parec, as 16-bit mono.
struct Recording {
    QTemporaryDir dir{unixRoot() + QStringLiteral("/tmp/taikan-heard-XXXXXX")};
    QFile raw{dir.filePath(QStringLiteral("heard.raw"))};
    QByteArray heard;
    Recording()
    {
        shell(QStringLiteral("echo $$ >\"$1.part\"; mv \"$1.part\" \"$1\"; exec parec --device=taikan.monitor --raw "
                             "--format=s16le --rate=%1 --channels=1 --latency-msec=20 >\"$2\"").arg(kRate),
              {dir.filePath(QStringLiteral("pid")), raw.fileName()});
    }
    // `more` seconds more, counted in what parec delivered; false where that much did not come.
    bool keepFor(double more)
    {
        const qsizetype until = heard.size() + 2 * qsizetype(more * kRate);
        const QDeadlineTimer deadline(qint64((more + 5) * 1000));
        while (heard.size() < until && !deadline.hasExpired()) {
            QTest::qWait(10);
            if (raw.isOpen() || raw.open(QIODevice::ReadOnly))
                heard += raw.readAll();
        }
        return heard.size() >= until;
    }
    ~Recording() // parec ends before its folder goes
    {
        const QByteArray pid = awaited(dir.filePath(QStringLiteral("pid")));
        shell(QStringLiteral("kill ") + QString::fromLatin1(pid));
        QDeadlineTimer deadline(5000);
        while (!pid.isEmpty() && QFileInfo::exists(unixRoot() + "/proc/" + pid) && !deadline.hasExpired())
            QTest::qWait(10);
    }
};

qint64 timedPlay(platform::Sounds &sounds, const QString &path, platform::Signal fallback) // in microseconds
{
    QElapsedTimer timer;
    timer.start();
    sounds.play(path, fallback);
    return timer.nsecsElapsed() / 1000;
}

constexpr const char *kWithoutOutput = "--without-output";

// The program without sound, in a child process: plays a file, a missing file and no file, twice, through the
// program's player and another one, telling of any call that was slow; then shows that it still runs.
int playWithoutOutput(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString wav = platform::builtInSignal(platform::Signal::Warning); // a playable WAV
    QTextStream out(stdout);
    const auto *program = dynamic_cast<platform::SoundPlayer *>(&platform::systemSounds());
    if (!program || &platform::systemSounds() != program || program->parent() != &app)
        out << "systemSounds() is not one player owned by the application\n";
    platform::SoundPlayer another;
    for (platform::Sounds *sounds : {&platform::systemSounds(), static_cast<platform::Sounds *>(&another)}) {
        for (const QString &path : {wav, wav + QStringLiteral(".missing"), QString(), wav}) {
            if (const qint64 us = timedPlay(*sounds, path, platform::Signal::End); us >= kPromptUs)
                out << "play(" << path << ") took " << us << " us\n";
        }
    }
    QTimer::singleShot(300, &app, [&out] { out << "still here\n"; QCoreApplication::quit(); });
    return app.exec();
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    void init() // the cases that listen want the null sink of tools/test.sh as the default output
    {
        static const QByteArray sink = [] {
            QTemporaryDir dir(unixRoot() + QStringLiteral("/tmp/taikan-sink-XXXXXX"));
            const QString answer = dir.filePath(QStringLiteral("sink"));
            return shell(QStringLiteral("pactl get-default-sink >\"$1.part\" 2>&1; mv \"$1.part\" \"$1\""), {answer})
                ? awaited(answer) : QByteArray("(no Unix shell to ask)");
        }();
        if (sink != "taikan" && qstrcmp(QTest::currentTestFunction(), "withoutOutputSaysSoOnceAndGoesOn") != 0)
            QSKIP(QByteArray("the default audio output is \"" + sink + "\", not \"taikan\" of tools/test.sh").constData());
    }

    void playsTheFileOrTheBuiltInSignal_data()
    {
        QTest::addColumn<QString>("name");       // of the file; empty: no file named
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<int>("fallback");
        QTest::addColumn<int>("beeps"); // to be heard
        QTest::addColumn<bool>("cutIn"); // written anew after cutting in on the horn with another bell
        const int warning = int(platform::Signal::Warning), end = int(platform::Signal::End);
        QTest::newRow("our WAV") << QStringLiteral("bell #1.wav") << wav(tone(0.5, 440)) << warning << 1 << false;
        QTest::newRow("no file named: warning") << QString() << QByteArray() << warning << 2 << false;
        QTest::newRow("missing file: end") << QStringLiteral("gone.wav") << QByteArray() << end << 1 << false;
        QTest::newRow("not a WAV: warning") << QStringLiteral("notes.wav") << QByteArray("text") << warning << 2 << false;
        QTest::newRow("cuts in, rewritten") << QStringLiteral("bell.wav") << wav(tone(0.25, 660)) << warning << 1 << true;
    }
    void playsTheFileOrTheBuiltInSignal()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, fallback);
        QFETCH(int, beeps);
        QFETCH(bool, cutIn);
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        QStringList started; // what the player says it started, in order
        platform::SoundPlayer player;
        QObject::connect(&player, &platform::SoundPlayer::started, &player, [&started](const QString &s) { started << s; });
        Recording recording;
        QVERIFY2(recording.keepFor(0.01), "parec records nothing");
        if (cutIn) {
            // The 1.5 s horn, after 0.3 s the bell: 0.8 s of sound, not 1.5 s or more.
            QVERIFY(writeFile(path, wav(tone(0.5, 440))));
            player.play(QString(), platform::Signal::End);
            recording.keepFor(0.3);
            player.play(path, platform::Signal::Warning);
            recording.keepFor(0.5 + 1.0);
            const QList<Burst> before = bursts(std::exchange(recording.heard, {}), 0.3);
            qInfo() << "heard before" << before;
            QVERIFY2(before.size() == 1 && before[0].length > 0.6 && before[0].length < 1.1, "the horn went on");
            QVERIFY(QFile::remove(path));
            started.clear();
        }
        if (!content.isNull())
            QVERIFY(writeFile(path, content));
        const QString source = content.startsWith("RIFF") ? path : platform::builtInSignal(platform::Signal(fallback));
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expectedWav = file.readAll();
        QCOMPARE(expectedWav.mid(36, 4), QByteArray("data")); // 16-bit mono at kRate, our signals too
        const QList<Burst> expected = bursts(expectedWav.mid(44));
        QVERIFY(timedPlay(player, path, platform::Signal(fallback)) < kPromptUs);
        recording.keepFor(double(expectedWav.size()) / (2 * kRate) + 1.0);
        const QList<Burst> heard = bursts(recording.heard);
        qInfo() << "heard" << heard << "expected" << expected;
        QCOMPARE(started, QStringList{source});
        QCOMPARE(expected.size(), beeps);
        QCOMPARE(heard.size(), beeps);
        for (qsizetype i = 0; i < heard.size(); ++i) {
            QVERIFY2(std::abs(heard[i].length - expected[i].length) <= 0.05, "length differs");
            QVERIFY2(std::abs(20 * std::log10(heard[i].level / expected[i].level)) <= 1.5, "level differs");
            QVERIFY2(std::abs(heard[i].hz / expected[i].hz - 1) <= 0.03, "pitch differs");
        }
    }

    void unusualFiles_data() // what starts, as the player tells, not recorded
    {
        // Files Qt's reader would wait on for ever (holding up every later sound)
        // or refuses get the built-in signal at once; layouts it reads play.
        QTest::addColumn<QByteArray>("bytes"); // the file; see the test for the pipe and the large file
        QTest::addColumn<bool>("plays");
        const QByteArray pcm = wav(tone(0.2, 440)), list("LIST\x04\0\0\0INFO", 12);
        QTest::newRow("named pipe") << QByteArray() << false;
        QTest::newRow("too large") << pcm << false;
        QTest::newRow("cut in the data") << pcm.left(44 + 1000) << false;
        QTest::newRow("half a frame of data") << wav(tone(0.2, 440) + '\0') << false;
        QTest::newRow("odd chunk with pad byte") << pcm.left(36) + QByteArray("LIST\x05\0\0\0INFOx\0", 14) + pcm.mid(36) << false;
        QTest::newRow("data before format") << pcm.left(12) + pcm.mid(36) + pcm.mid(12, 24) << false;
        QTest::newRow("not integer PCM") << QByteArray(pcm).replace(20, 2, le(3, 2)) << false; // IEEE float in 16 bits
        // A chunk of 16 KiB before the data (a picture, a long tag): Qt's
        // reader never gets past it, and releasing that sound hangs.
        QTest::newRow("16 KiB chunk before the data")
            << pcm.left(36) + QByteArray("JUNK", 4) + le(16384) + QByteArray(16384, '\0') + pcm.mid(36) << false;
        // Lists around an 18-byte format chunk, and the RIFF size of a stream.
        QTest::newRow("lists, long format, stream size")
            << "RIFF" + le(0xffffffff) + "WAVE" + list + "fmt " + le(18) + pcm.mid(20, 16) + le(0, 2) + list + pcm.mid(36)
            << true;
        QTest::newRow("8-bit stereo at 8 kHz") << wav(QByteArray(3200, '\x80'), 2, 8000, 8) << true;
        QTest::newRow("24-bit, 8 channels at 192 kHz") << wav(QByteArray(3 * 8 * 19200, '\0'), 8, 192000, 24) << true;
    }
    void unusualFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plays);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("signal.wav")), good = dir.filePath(QStringLiteral("good.wav"));
        if (bytes.isNull() && !testing::kPipesInFileSystem)
            QSKIP(testing::kNoPipes);
        if (bytes.isNull()) // opening a pipe without a writer never returns
            QVERIFY(testing::makePipe(path));
        else
            QVERIFY(writeFile(path, bytes));
        if (qstrcmp(QTest::currentDataTag(), "too large") == 0)
            QVERIFY(QFile::resize(path, platform::SoundPlayer::kMaxFileSize + 1));
        QVERIFY(writeFile(good, wav(tone(0.5, 440)))); // still playing when replaced
        QStringList started;
        platform::SoundPlayer player;
        QObject::connect(&player, &platform::SoundPlayer::started, &player, [&started](const QString &s) { started << s; });
        // Two requests at once, either way round (first with the built-in
        // signals still loading): the first, failing or loading late, never
        // sounds over the second. Then the player still answers.
        const QString answer = plays ? path : platform::builtInSignal(platform::Signal::End);
        QStringList answers;
        for (const QStringList &requests : {QStringList{path, good}, QStringList{good, path}, QStringList{good}}) {
            for (const QString &file : requests)
                QVERIFY(timedPlay(player, file, platform::Signal::End) < kPromptUs);
            answers.append(requests.last() == path ? answer : good);
            QTRY_COMPARE(started.size(), answers.size());
            QTest::qWait(300);
            QCOMPARE(started, answers);
        }
    }

    void withoutOutputSaysSoOnceAndGoesOn()
    {
        QTemporaryDir dir; // a server address where nobody listens: no sound server at all
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.filePath(QStringLiteral("nobody")));
        for (const QString &name : {QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("PULSE_RUNTIME_PATH")})
            environment.insert(name, dir.path());
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kWithoutOutput)});
        QVERIFY(child.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(child.readAllStandardError());
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(out, QStringLiteral("still here\n")); // and nothing wrong before
        QVERIFY2(err.count(u'\n') == 1 && err.contains(QStringLiteral("no audio output")), qPrintable(err));
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], kWithoutOutput) == 0)
        return playWithoutOutput(argc, argv);
    QApplication app(argc, argv);
    SoundTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sound.moc"
