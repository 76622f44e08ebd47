// The warning and end-of-match sounds. Most cases are heard for real:
// tools/test.sh starts a PulseAudio server whose only output is the null sink
// "taikan"; parec records that sink's monitor while the program plays, and the
// recording is measured. Without that server those cases are skipped.
#include "ui/sound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <numbers>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

constexpr int kRate = 44100;
constexpr double kFullScale = 32768.0;
constexpr qint64 kPromptMs = 100; // play() must return well within this

// ---- Sound as numbers ---------------------------------------------------

struct Wav {
    int format = 0; // 1 = PCM
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QList<qint16> samples;
    double seconds() const { return rate ? double(samples.size()) / rate : 0; }
};

// 16-bit little-endian samples.
QList<qint16> samplesOf(const QByteArray &bytes)
{
    QList<qint16> samples;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        samples.append(qFromLittleEndian<qint16>(bytes.constData() + i));
    return samples;
}

// Reads a mono RIFF WAV file of 16-bit samples; nothing when it is not one.
std::optional<Wav> readWav(const QByteArray &bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    Wav wav;
    QByteArray data;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const QByteArray body = bytes.mid(at + 8, size);
        if (id == "fmt " && body.size() >= 16) {
            wav.format = qFromLittleEndian<quint16>(body.constData());
            wav.channels = qFromLittleEndian<quint16>(body.constData() + 2);
            wav.rate = int(qFromLittleEndian<quint32>(body.constData() + 4));
            wav.bits = qFromLittleEndian<quint16>(body.constData() + 14);
        } else if (id == "data") {
            data = body;
        }
        at += 8 + size + (size & 1);
    }
    if (wav.bits != 16 || wav.channels != 1)
        return std::nullopt;
    wav.samples = samplesOf(data);
    return wav;
}

std::optional<Wav> readWavFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return readWav(file.readAll());
}

// A sine of `hz` at `amplitude` (1 = full scale), faded in and out over 5 ms.
QList<qint16> sine(double seconds, double hz, double amplitude)
{
    const int n = int(std::lround(seconds * kRate));
    const int fade = kRate / 200;
    QList<qint16> out;
    for (int i = 0; i < n; ++i) {
        const double edge = std::min({1.0, double(i) / fade, double(n - 1 - i) / fade});
        out.append(qint16(std::lround(amplitude * edge * 32767 * std::sin(2 * std::numbers::pi * hz * i / kRate))));
    }
    return out;
}

// A test sound: a sine as above, then a quarter second of silence. When a
// sound effect finishes, Qt 6.4 drops what is still queued at the sound
// server (about 0.15 s); the silence takes that cut, and the tone is heard
// whole, as with the built-in signals.
QList<qint16> tone(double seconds, double hz, double amplitude)
{
    return sine(seconds, hz, amplitude) + QList<qint16>(kRate / 4, 0);
}

// A mono 16-bit PCM WAV file at kRate: a 44-byte header and the samples.
QByteArray wavBytes(const QList<qint16> &samples)
{
    QByteArray data;
    for (qint16 s : samples) {
        char two[2];
        qToLittleEndian(s, two);
        data.append(two, 2);
    }
    QByteArray out;
    auto u32 = [&out](quint32 v) { char b[4]; qToLittleEndian(v, b); out.append(b, 4); };
    auto u16 = [&out](quint16 v) { char b[2]; qToLittleEndian(v, b); out.append(b, 2); };
    out.append("RIFF");
    u32(quint32(36 + data.size()));
    out.append("WAVEfmt ");
    u32(16);
    u16(1);         // PCM
    u16(1);         // mono
    u32(kRate);
    u32(kRate * 2); // bytes a second
    u16(2);         // bytes a frame
    u16(16);        // bits a sample
    out.append("data");
    u32(quint32(data.size()));
    out.append(data);
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool writeWav(const QString &path, const QList<qint16> &samples) { return writeFile(path, wavBytes(samples)); }

// A stretch of sound between silences, measured in 10 ms windows.
struct Burst {
    double start = 0;     // seconds from the beginning
    double length = 0;    // seconds
    double level = 0;     // RMS of its loud windows, 1 = full scale
    double crossings = 0; // zero crossings a second / 2: the frequency of a pure tone
};

QDebug operator<<(QDebug debug, const Burst &burst)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Burst(at " << burst.start << " s, " << burst.length << " s, level " << burst.level
                    << ", " << burst.crossings << " Hz)";
    return debug;
}

// The bursts of a recording: windows whose RMS passes `threshold` (1 = full
// scale), joined across gaps up to `bridge` seconds.
QList<Burst> bursts(const QList<qint16> &samples, int rate, double threshold = 0.02, double bridge = 0.05)
{
    const qsizetype window = rate / 100;
    QList<std::pair<qsizetype, qsizetype>> spans; // loud windows, first and last
    QList<double> power;                          // mean square of each window
    for (qsizetype w = 0; w < samples.size() / window; ++w) {
        double sum = 0;
        for (qsizetype i = w * window; i < (w + 1) * window; ++i)
            sum += double(samples[i]) * samples[i];
        power.append(sum / window / (kFullScale * kFullScale));
        if (std::sqrt(power.last()) <= threshold)
            continue;
        if (!spans.isEmpty() && double((w - spans.last().second - 1) * window) / rate <= bridge)
            spans.last().second = w;
        else
            spans.append({w, w});
    }
    QList<Burst> out;
    for (const auto &[first, last] : spans) {
        Burst burst;
        burst.start = double(first * window) / rate;
        burst.length = double((last - first + 1) * window) / rate;
        double energy = 0;
        int loud = 0;
        for (qsizetype w = first; w <= last; ++w) {
            if (std::sqrt(power[w]) > threshold) {
                energy += power[w];
                ++loud;
            }
        }
        burst.level = std::sqrt(energy / loud);
        qsizetype crossings = 0, firstCrossing = -1, lastCrossing = -1;
        for (qsizetype i = first * window + 1; i < (last + 1) * window; ++i) {
            if ((samples[i - 1] < 0) != (samples[i] < 0)) {
                ++crossings;
                if (firstCrossing < 0)
                    firstCrossing = i;
                lastCrossing = i;
            }
        }
        if (crossings > 1)
            burst.crossings = (crossings - 1) / 2.0 / (double(lastCrossing - firstCrossing) / rate);
        out.append(burst);
    }
    return out;
}

double decibels(double ratio) { return 20 * std::log10(ratio); }

// ---- The sound server ----------------------------------------------------

// Why the cases that listen cannot run here; empty when they can.
QString whyNotHeard()
{
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return QStringLiteral("no PulseAudio server reachable: run tools/test.sh, which starts one with the null sink \"taikan\"");
    if (output.id() != "taikan")
        return QStringLiteral("the default audio output is \"%1\", not the null sink \"taikan\" of tools/test.sh")
            .arg(QString::fromUtf8(output.id()));
    if (QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
        return QStringLiteral("parec is missing (package pulseaudio-utils)");
    return {};
}

#define SKIP_UNLESS_HEARD()                                                                        \
    do {                                                                                           \
        const QString why = whyNotHeard();                                                         \
        if (!why.isEmpty())                                                                        \
            QSKIP(qPrintable(why));                                                                \
    } while (false)

// Records what reaches the null sink "taikan", through parec, as 16-bit mono.
class Recording {
public:
    // Starts parec and waits until sound flows into its file.
    bool start()
    {
        m_path = m_dir.filePath(QStringLiteral("heard.raw"));
        m_parec.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_parec.start(QStringLiteral("parec"),
                      {QStringLiteral("--device=taikan.monitor"), QStringLiteral("--raw"),
                       QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(kRate),
                       QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20"), m_path});
        if (!m_parec.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (seconds() == 0 && m_parec.state() == QProcess::Running && waited.elapsed() < 5000)
            QTest::qWait(10);
        return seconds() > 0;
    }

    // Seconds of sound recorded so far.
    double seconds() const { return double(QFileInfo(m_path).size()) / (2 * kRate); }

    // Keeps recording for `more` seconds of sound, counted in what parec has
    // written: the server delivers in chunks, so the clock alone is not enough.
    void keepFor(double more)
    {
        const double until = seconds() + more;
        QElapsedTimer waited;
        waited.start();
        while (seconds() < until && waited.elapsed() < (more + 5) * 1000)
            QTest::qWait(20);
    }

    // Ends parec as Ctrl+C would, so that its file is complete, and reads it.
    QList<qint16> stop()
    {
        if (m_parec.state() == QProcess::Running) {
            ::kill(pid_t(m_parec.processId()), SIGINT);
            if (!m_parec.waitForFinished(5000))
                m_parec.kill();
        }
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? samplesOf(file.readAll()) : QList<qint16>();
    }

    ~Recording()
    {
        if (m_parec.state() != QProcess::NotRunning) {
            m_parec.kill();
            m_parec.waitForFinished(2000);
        }
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QProcess m_parec;
};

// Calls play() and says how long it took.
qint64 timedPlay(ui::Sounds &sounds, const QString &path, ui::Signal fallback)
{
    QElapsedTimer timer;
    timer.start();
    sounds.play(path, fallback);
    return timer.nsecsElapsed() / 1000;
}

// Compares a recording's bursts with those of the WAV that should have come out.
void compareBursts(const QList<Burst> &heard, const QList<Burst> &expected)
{
    qInfo() << "heard" << heard << "expected" << expected;
    QCOMPARE(heard.size(), expected.size());
    for (qsizetype i = 0; i < heard.size(); ++i) {
        QVERIFY2(std::abs(heard[i].length - expected[i].length) <= 0.05, "length differs");
        QVERIFY2(std::abs(decibels(heard[i].level / expected[i].level)) <= 1.5, "level differs");
        QVERIFY2(std::abs(heard[i].crossings / expected[i].crossings - 1) <= 0.03, "pitch differs");
        if (i > 0) {
            const double gap = heard[i].start - heard[i - 1].start;
            const double expectedGap = expected[i].start - expected[i - 1].start;
            QVERIFY2(std::abs(gap - expectedGap) <= 0.05, "rhythm differs");
        }
    }
}

// ---- Without a sound server: run in a child process ----------------------

constexpr const char *kWithoutOutput = "--without-output";

// The program on a machine without sound: plays repeatedly and prints how
// long each call took, then shows that it still runs its event loop.
int playWithoutOutput(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString wav = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTextStream out(stdout);
    const struct {
        QString path;
        ui::Signal fallback;
    } requests[] = {{wav, ui::Signal::Warning}, {wav + QStringLiteral(".missing"), ui::Signal::End},
                    {QString(), ui::Signal::Warning}, {wav, ui::Signal::End}, {QString(), ui::Signal::End}};
    auto took = [](const auto &call) {
        QElapsedTimer timer;
        timer.start();
        call();
        return timer.nsecsElapsed() / 1000;
    };
    for (const auto &request : requests) // the first call makes the player
        out << "play " << took([&] { ui::systemSounds().play(request.path, request.fallback); }) << " us\n";
    // Another player: still no second message.
    out << "play " << took([&] { ui::SoundPlayer().play(wav, ui::Signal::Warning); }) << " us\n";
    out.flush();
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    const int result = app.exec();
    out << "still here\n";
    return result;
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

private slots:
    // ---- The built-in signals as shipped ----

    void builtInSignals_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<double>("minSeconds"); // from the first beep's start to the last one's end
        QTest::addColumn<double>("maxSeconds");
        QTest::newRow("warning: two short beeps") << int(ui::Signal::Warning) << 2 << 0.4 << 0.8;
        QTest::newRow("end: one long tone") << int(ui::Signal::End) << 1 << 1.2 << 1.8;
    }
    void builtInSignals()
    {
        QFETCH(int, signal);
        QFETCH(int, beeps);
        QFETCH(double, minSeconds);
        QFETCH(double, maxSeconds);
        const auto wav = readWavFile(ui::builtInSignal(ui::Signal(signal)));
        QVERIFY2(wav, "no 16-bit mono WAV among the resources");
        QCOMPARE(wav->format, 1);
        QVERIFY(wav->rate == 44100 || wav->rate == 48000);

        // Starts and stops at silence, so that it does not click.
        const qsizetype edge = wav->rate / 500; // 2 ms
        for (qsizetype i = 0; i < edge; ++i) {
            QVERIFY(std::abs(wav->samples[i]) < 0.01 * kFullScale);
            QVERIFY(std::abs(wav->samples[wav->samples.size() - 1 - i]) < 0.01 * kFullScale);
        }
        // Clearly audible, never clipped.
        const int peak = std::abs(*std::max_element(wav->samples.cbegin(), wav->samples.cend(),
                                                    [](qint16 a, qint16 b) { return std::abs(a) < std::abs(b); }));
        QVERIFY(peak >= 0.25 * kFullScale && peak <= 0.9 * kFullScale);

        const QList<Burst> found = bursts(wav->samples, wav->rate);
        qInfo() << found;
        QCOMPARE(found.size(), beeps);
        const double span = found.constLast().start + found.constLast().length - found.constFirst().start;
        QVERIFY(span >= minSeconds && span <= maxSeconds);
        // Silence after the last beep, for the part Qt drops when a sound ends.
        QVERIFY(wav->seconds() - (found.constLast().start + found.constLast().length) >= 0.2);
    }

    // ---- Heard through the sound server ----

    void playsTheNamedFile()
    {
        SKIP_UNLESS_HEARD();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bell.wav"));
        QVERIFY(writeWav(path, tone(0.5, 440, 0.4)));
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);

        Recording recording;
        QVERIFY2(recording.start(), "parec records nothing");
        const qint64 took = timedPlay(player, path, ui::Signal::Warning);
        recording.keepFor(0.5 + 1.0);
        const QList<qint16> heard = recording.stop();

        qInfo("play() took %lld us", took);
        QVERIFY(took < kPromptMs * 1000);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().first().toString(), path);
        const QList<Burst> found = bursts(heard, kRate);
        qInfo() << "heard" << found << "in" << double(heard.size()) / kRate << "s";
        QCOMPARE(found.size(), 1);
        QVERIFY(std::abs(found[0].length - 0.5) <= 0.05);
        QVERIFY(std::abs(decibels(found[0].level / (0.4 / std::sqrt(2)))) <= 1.5);
        QVERIFY(std::abs(found[0].crossings - 440) <= 10);
        QVERIFY2(found[0].start + found[0].length < double(heard.size()) / kRate - 0.2,
                 "the recording stopped before the sound ended");
    }

    void builtInSignalWhereTheFileFails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // nothing: no file at all
        QTest::addColumn<int>("fallback");
        QTest::newRow("no file name, warning") << QString() << QByteArray() << int(ui::Signal::Warning);
        QTest::newRow("missing file, end") << QStringLiteral("gone.wav") << QByteArray() << int(ui::Signal::End);
        QTest::newRow("not a WAV, warning")
            << QStringLiteral("notes.wav") << QByteArray("these are not sounds\n") << int(ui::Signal::Warning);
    }
    void builtInSignalWhereTheFileFails()
    {
        SKIP_UNLESS_HEARD();
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, fallback);
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        if (!content.isNull())
            QVERIFY(writeFile(path, content));
        const ui::Signal signal = ui::Signal(fallback);
        const auto expected = readWavFile(ui::builtInSignal(signal));
        QVERIFY(expected);
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);

        Recording recording;
        QVERIFY2(recording.start(), "parec records nothing");
        const qint64 took = timedPlay(player, path, signal);
        recording.keepFor(expected->seconds() + 1.0);
        const QList<qint16> heard = recording.stop();

        qInfo("play() took %lld us", took);
        QVERIFY(took < kPromptMs * 1000);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().first().toString(), ui::builtInSignal(signal));
        compareBursts(bursts(heard, kRate), bursts(expected->samples, expected->rate));
    }

    void newRequestStopsTheSoundStillPlaying()
    {
        SKIP_UNLESS_HEARD();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bell.wav"));
        QVERIFY(writeWav(path, tone(0.5, 440, 0.4)));
        ui::SoundPlayer player;

        Recording recording;
        QVERIFY2(recording.start(), "parec records nothing");
        player.play(QString(), ui::Signal::End); // the 1.5 s horn
        recording.keepFor(0.3);
        player.play(path, ui::Signal::Warning);
        recording.keepFor(0.5 + 1.0);
        const QList<qint16> heard = recording.stop();

        // Horn cut short, then the bell: 0.8 s of sound, not 1.5 s or more.
        const QList<Burst> found = bursts(heard, kRate, 0.02, 0.3);
        qInfo() << "heard" << found;
        QCOMPARE(found.size(), 1);
        QVERIFY2(found[0].length < 1.1, "the horn went on under the bell");
        QVERIFY(found[0].length > 0.6);
        // The last 0.4 s is the bell alone.
        const qsizetype end = qsizetype((found[0].start + found[0].length) * kRate);
        const QList<Burst> tail = bursts(heard.mid(end - qsizetype(0.4 * kRate), qsizetype(0.4 * kRate)), kRate);
        QCOMPARE(tail.size(), 1);
        QVERIFY(std::abs(tail[0].crossings - 440) <= 10);
        QVERIFY(std::abs(decibels(tail[0].level / (0.4 / std::sqrt(2)))) <= 1.5);
    }

    void playsTheFileAsItIsNow()
    {
        SKIP_UNLESS_HEARD();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bell.wav"));
        ui::SoundPlayer player;

        Recording recording;
        QVERIFY2(recording.start(), "parec records nothing");
        QVERIFY(writeWav(path, tone(0.5, 440, 0.4)));
        player.play(path, ui::Signal::Warning);
        recording.keepFor(1.0);
        QVERIFY(QFile::remove(path));
        QVERIFY(writeWav(path, tone(0.25, 660, 0.4))); // same name, new sound
        player.play(path, ui::Signal::Warning);
        recording.keepFor(0.25 + 1.0);
        const QList<Burst> found = bursts(recording.stop(), kRate);

        qInfo() << "heard" << found;
        QCOMPARE(found.size(), 2);
        QVERIFY(std::abs(found[0].length - 0.5) <= 0.05);
        QVERIFY(std::abs(found[0].crossings - 440) <= 10);
        QVERIFY(std::abs(found[1].length - 0.25) <= 0.05);
        QVERIFY(std::abs(found[1].crossings - 660) <= 10);
    }

    // ---- Which sound starts (told by the player, not recorded) ----

    void fallsBackAtOnce_data()
    {
        // A file Qt's reader would wait on for ever, holding up every later
        // sound, or one it refuses: the built-in signal plays at once.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes"); // the file, where kind is "file"
        const QByteArray pcm = wavBytes(tone(0.2, 440, 0.4));
        QByteArray oddData = pcm;
        oddData.append('\0');
        qToLittleEndian(quint32(oddData.size() - 44), oddData.data() + 40); // half a frame too many
        qToLittleEndian(quint32(oddData.size() - 8), oddData.data() + 4);
        QByteArray oddChunk = pcm.left(36) + QByteArray("LIST\x05\0\0\0INFOx\0", 14) + pcm.mid(36);
        QByteArray dataFirst = pcm.left(12) + pcm.mid(36) + pcm.mid(12, 24);
        QByteArray floats = pcm;
        qToLittleEndian(quint16(3), floats.data() + 20); // IEEE float, 16 bits: nonsense
        QTest::newRow("directory") << QStringLiteral("directory") << QByteArray();
        QTest::newRow("named pipe") << QStringLiteral("pipe") << QByteArray();
        QTest::newRow("too large") << QStringLiteral("large") << QByteArray();
        QTest::newRow("empty file") << QStringLiteral("file") << QByteArray("");
        QTest::newRow("RIFF alone") << QStringLiteral("file") << QByteArray("RIFF");
        QTest::newRow("cut in the format") << QStringLiteral("file") << pcm.left(30);
        QTest::newRow("cut after the data header") << QStringLiteral("file") << pcm.left(44);
        QTest::newRow("cut in the data") << QStringLiteral("file") << pcm.left(44 + 1000);
        QTest::newRow("half a frame of data") << QStringLiteral("file") << oddData;
        QTest::newRow("odd chunk with pad byte") << QStringLiteral("file") << oddChunk;
        QTest::newRow("data before format") << QStringLiteral("file") << dataFirst;
        QTest::newRow("not integer PCM") << QStringLiteral("file") << floats;
        QTest::newRow("RIFF of another kind") << QStringLiteral("file") << QByteArray("RIFF\x04\0\0\0AVI ", 12);
    }
    void fallsBackAtOnce()
    {
        SKIP_UNLESS_HEARD();
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("signal.wav"));
        if (kind == QLatin1String("directory")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("signal.wav")));
        } else if (kind == QLatin1String("pipe")) {
            // Opening a pipe without a writer never returns.
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("large")) {
            QVERIFY(writeWav(path, sine(0.1, 440, 0.4)));
            QVERIFY(QFile::resize(path, ui::SoundPlayer::kMaxFileSize + 1));
        } else {
            QVERIFY(writeFile(path, bytes));
        }
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);
        QVERIFY(timedPlay(player, path, ui::Signal::End) < kPromptMs * 1000);
        QTRY_COMPARE(started.size(), 1);
        QCOMPARE(started.first().first().toString(), ui::builtInSignal(ui::Signal::End));
        // And the player still answers.
        const QString good = dir.filePath(QStringLiteral("good.wav"));
        QVERIFY(writeWav(good, tone(0.1, 440, 0.4)));
        QVERIFY(timedPlay(player, good, ui::Signal::Warning) < kPromptMs * 1000);
        QTRY_COMPARE(started.size(), 2);
        QCOMPARE(started.last().first().toString(), good);
    }

    void playsTheWavFormsQtReads_data()
    {
        // The same tone in other layouts Qt plays: none of them may be
        // taken for a broken file.
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray pcm = wavBytes(tone(0.2, 440, 0.4));
        QByteArray list = pcm.left(36) + QByteArray("LIST\x04\0\0\0INFO", 12) + pcm.mid(36);
        QByteArray listFirst = pcm.left(12) + QByteArray("LIST\x04\0\0\0INFO", 12) + pcm.mid(12);
        QByteArray longFormat = pcm.left(16) + QByteArray("\x12\0\0\0", 4) + pcm.mid(20, 16)
            + QByteArray("\0\0", 2) + pcm.mid(36);
        QByteArray wrongRiffSize = pcm;
        qToLittleEndian(quint32(0xffffffff), wrongRiffSize.data() + 4);
        QTest::newRow("plain") << pcm;
        QTest::newRow("list chunk between") << list;
        QTest::newRow("list chunk first") << listFirst;
        QTest::newRow("18-byte format chunk") << longFormat;
        QTest::newRow("RIFF size of a stream") << wrongRiffSize;
    }
    void playsTheWavFormsQtReads()
    {
        SKIP_UNLESS_HEARD();
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("signal.wav"));
        QVERIFY(writeFile(path, bytes));
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);
        player.play(path, ui::Signal::End);
        QTRY_COMPARE(started.size(), 1);
        QCOMPARE(started.first().first().toString(), path);
    }

    void answersOnlyTheLatestRequest()
    {
        SKIP_UNLESS_HEARD();
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("bad.wav"));
        const QString good = dir.filePath(QStringLiteral("good.wav"));
        QVERIFY(writeFile(bad, "RIFF....WAVEjunk"));
        QVERIFY(writeWav(good, tone(0.2, 440, 0.4)));
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);

        // The first file fails only after the second request came: its
        // fallback must not play over the second.
        player.play(bad, ui::Signal::End);
        player.play(good, ui::Signal::Warning);
        QTRY_COMPARE(started.size(), 1);
        QTest::qWait(300);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().first().toString(), good);

        // The same the other way round.
        started.clear();
        player.play(good, ui::Signal::Warning);
        player.play(bad, ui::Signal::End);
        QTRY_COMPARE(started.size(), 1);
        QTest::qWait(300);
        QCOMPARE(started.size(), 1);
        QCOMPARE(started.first().first().toString(), ui::builtInSignal(ui::Signal::End));
    }

    // ---- Without any audio output ----

    void withoutOutputSaysSoOnceAndGoesOn()
    {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("bell.wav"));
        QVERIFY(writeWav(wav, tone(0.5, 440, 0.4)));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // A server address where nobody listens: no sound server at all.
        environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.filePath(QStringLiteral("nobody")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), dir.path());
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kWithoutOutput), wav});
        QVERIFY(child.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(child.readAllStandardError());
        qInfo().noquote() << "child's output:\n" << out << "child's errors:\n" << err;
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);

        const QStringList plays = out.split(QLatin1Char('\n')).filter(QStringLiteral("play "));
        QCOMPARE(plays.size(), 6);
        for (const QString &play : plays) {
            const qint64 us = play.section(QLatin1Char(' '), 1, 1).toLongLong();
            QVERIFY2(us < kPromptMs * 1000, qPrintable(play));
        }
        QVERIFY(out.endsWith(QStringLiteral("still here\n")));
        const QStringList lines = err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first().contains(QStringLiteral("no audio output")));
    }

    // ---- The program's own player ----

    void systemSoundsIsOnePlayerOwnedByTheApplication()
    {
        ui::Sounds &first = ui::systemSounds();
        QCOMPARE(&ui::systemSounds(), &first);
        auto *player = dynamic_cast<ui::SoundPlayer *>(&first);
        QVERIFY(player);
        QCOMPARE(player->parent(), QCoreApplication::instance());
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
