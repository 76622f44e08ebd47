// The warning and end-of-match sounds, heard for real: tools/test.sh starts a
// PulseAudio server whose only output is the null sink "taikan"; parec records
// that sink's monitor while the player plays, and the recording is measured.
// Without that server those cases are skipped.
#include "ui/sound.h"

#include <QApplication>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QtTest> // and with it all of QtCore
#include <algorithm>
#include <cmath>
#include <numbers>
#include <sys/stat.h>

namespace {

constexpr int kRate = 44100;
constexpr qint64 kPromptUs = 100'000; // play() returns well within this

QList<qint16> samplesOf(const QByteArray &bytes) // 16-bit little-endian
{
    QList<qint16> samples(bytes.size() / 2);
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = qFromLittleEndian<qint16>(bytes.constData() + 2 * i);
    return samples;
}

// A sine of `hz` at 0.4 of full scale with 5 ms fades, then a quarter second
// of silence, as 16-bit samples: Qt 6.4 drops the last 0.15 s or so of every
// sound effect, and so the silence, as in the built-in signals.
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

// `value` as `size` little-endian bytes.
QByteArray le(quint32 value, int size = 4)
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

// A stretch of sound between silences, measured in 10 ms windows.
struct Burst {
    double start = 0, length = 0; // seconds
    double level = 0, hz = 0;     // RMS (1 = full scale); zero crossings a second / 2, the pitch of a tone
};

QDebug operator<<(QDebug debug, const Burst &b)
{
    QDebugStateSaver saver(debug);
    return debug.nospace() << "Burst(at " << b.start << " s, " << b.length << " s, level " << b.level << ", " << b.hz
                           << " Hz)";
}

// The bursts in `samples` (at kRate): windows louder than 2 % of full scale,
// joined across quieter gaps of up to `bridge` seconds.
QList<Burst> bursts(const QList<qint16> &samples, double bridge = 0.05)
{
    constexpr qsizetype window = kRate / 100;
    QList<Burst> out;
    for (qsizetype w = 0; (w + 1) * window <= samples.size(); ++w) {
        double power = 0; // mean square, 1 = full scale
        for (qsizetype i = w * window; i < (w + 1) * window; ++i)
            power += double(samples[i]) * samples[i] / (32768.0 * 32768.0 * window);
        if (power <= 0.02 * 0.02)
            continue;
        if (out.isEmpty() || w * 0.01 - out.last().start - out.last().length > bridge + 0.001)
            out.append(Burst{w * 0.01});
        Burst &burst = out.last();
        burst.length = (w + 1) * 0.01 - burst.start;
        burst.level += power; // a sum until the end
    }
    for (Burst &burst : out) {
        burst.level = std::sqrt(burst.level / std::lround(burst.length * 100));
        QList<qsizetype> crossings;
        const qsizetype from = std::lround(burst.start * kRate), to = std::lround((burst.start + burst.length) * kRate);
        for (qsizetype i = from + 1; i < to; ++i) {
            if ((samples[i - 1] < 0) != (samples[i] < 0))
                crossings.append(i);
        }
        if (crossings.size() > 1)
            burst.hz = (crossings.size() - 1) / 2.0 * kRate / double(crossings.last() - crossings.first());
    }
    return out;
}

// Records what reaches the null sink "taikan" of tools/test.sh, through
// parec, as 16-bit mono.
class Recording {
public:
    Recording()
    {
        m_parec.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_parec.start(QStringLiteral("parec"), QStringLiteral("--device=taikan.monitor --raw --format=s16le --rate=%1 "
                                                              "--channels=1 --latency-msec=20").arg(kRate).split(u' '));
    }
    // Records `more` seconds more, counted in what parec delivered (the server
    // delivers in chunks): false where that much did not come.
    bool keepFor(double more)
    {
        const qsizetype until = m_heard.size() + 2 * qsizetype(more * kRate);
        QElapsedTimer waited;
        waited.start();
        while (m_heard.size() < until && m_parec.state() != QProcess::NotRunning && waited.elapsed() < (more + 5) * 1000) {
            QTest::qWait(10);
            m_heard += m_parec.readAllStandardOutput();
        }
        return m_heard.size() >= until;
    }

    QList<qint16> stop()
    {
        m_parec.kill();
        m_parec.waitForFinished(2000);
        return samplesOf(m_heard + m_parec.readAllStandardOutput());
    }

private:
    QProcess m_parec;
    QByteArray m_heard;
};

// Calls play() and says how long it took, in microseconds.
qint64 timedPlay(ui::Sounds &sounds, const QString &path, ui::Signal fallback)
{
    QElapsedTimer timer;
    timer.start();
    sounds.play(path, fallback);
    return timer.nsecsElapsed() / 1000;
}

// What the player said it started, in order.
QStringList sources(const QSignalSpy &started)
{
    QStringList out;
    for (const QList<QVariant> &arguments : started)
        out.append(arguments.first().toString());
    return out;
}

constexpr const char *kWithoutOutput = "--without-output";

// The program on a machine without sound, in a child process: plays a file,
// a missing file and no file, twice, through the program's player and another
// one, telling of any call that was slow; then shows that it still runs.
int playWithoutOutput(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString wav = ui::builtInSignal(ui::Signal::Warning); // a playable WAV
    QTextStream out(stdout);
    const auto *program = dynamic_cast<ui::SoundPlayer *>(&ui::systemSounds());
    if (!program || &ui::systemSounds() != program || program->parent() != &app)
        out << "systemSounds() is not one player owned by the application\n";
    ui::SoundPlayer another;
    for (ui::Sounds *sounds : {&ui::systemSounds(), static_cast<ui::Sounds *>(&another)}) {
        for (const QString &path : {wav, wav + QStringLiteral(".missing"), QString(), wav}) {
            if (const qint64 us = timedPlay(*sounds, path, ui::Signal::End); us >= kPromptUs)
                out << "play(" << path << ") took " << us << " us\n";
        }
    }
    QTimer::singleShot(300, &app, &QCoreApplication::quit);
    const int result = app.exec();
    out << "still here\n";
    return result;
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

    QByteArray m_deaf; // why the cases that listen cannot run here; empty where they can

private slots:
    void initTestCase()
    {
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        if (output.isNull())
            m_deaf = "no PulseAudio server reachable: run tools/test.sh, which starts one with the null sink \"taikan\"";
        else if (output.id() != "taikan")
            m_deaf = "the default audio output is \"" + output.id() + "\", not the null sink \"taikan\" of tools/test.sh";
        else if (QStandardPaths::findExecutable(QStringLiteral("parec")).isEmpty())
            m_deaf = "parec is missing (package pulseaudio-utils)";
    }

    void playsTheFileOrTheBuiltInSignal_data()
    {
        QTest::addColumn<QString>("name");      // of the file; empty: no file named
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<int>("fallback");
        QTest::addColumn<int>("beeps"); // to be heard
        const int warning = int(ui::Signal::Warning), end = int(ui::Signal::End);
        QTest::newRow("our WAV") << QStringLiteral("bell #1.wav") << wav(tone(0.5, 440)) << warning << 1;
        QTest::newRow("no file named: warning") << QString() << QByteArray() << warning << 2;
        QTest::newRow("missing file: end") << QStringLiteral("gone.wav") << QByteArray() << end << 1;
        QTest::newRow("not a WAV: warning") << QStringLiteral("notes.wav") << QByteArray("these are not sounds\n") << warning << 2;
    }
    void playsTheFileOrTheBuiltInSignal()
    {
        if (!m_deaf.isEmpty())
            QSKIP(m_deaf.constData());
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, fallback);
        QFETCH(int, beeps);
        QTemporaryDir dir;
        const QString path = name.isEmpty() ? QString() : dir.filePath(name);
        if (!content.isNull())
            QVERIFY(writeFile(path, content));
        const QString source = content.startsWith("RIFF") ? path : ui::builtInSignal(ui::Signal(fallback));
        QFile file(source);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expectedWav = file.readAll();
        QCOMPARE(expectedWav.mid(36, 4), QByteArray("data")); // 16-bit mono at kRate, our signals too
        const QList<Burst> expected = bursts(samplesOf(expectedWav.mid(44)));
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);

        Recording recording;
        QVERIFY2(recording.keepFor(0.01), "parec records nothing");
        QVERIFY(timedPlay(player, path, ui::Signal(fallback)) < kPromptUs);
        recording.keepFor(double(expectedWav.size()) / (2 * kRate) + 1.0);
        const QList<Burst> heard = bursts(recording.stop());
        qInfo() << "heard" << heard << "expected" << expected;
        QCOMPARE(sources(started), QStringList{source});
        QCOMPARE(expected.size(), beeps);
        QCOMPARE(heard.size(), beeps);
        for (qsizetype i = 0; i < heard.size(); ++i) {
            QVERIFY2(std::abs(heard[i].length - expected[i].length) <= 0.05, "length differs");
            QVERIFY2(std::abs(20 * std::log10(heard[i].level / expected[i].level)) <= 1.5, "level differs");
            QVERIFY2(std::abs(heard[i].hz / expected[i].hz - 1) <= 0.03, "pitch differs");
        }
    }

    void newRequestStopsTheLastAndRereadsTheFile()
    {
        if (!m_deaf.isEmpty())
            QSKIP(m_deaf.constData());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bell.wav"));
        QVERIFY(writeFile(path, wav(tone(0.5, 440))));
        ui::SoundPlayer player;
        Recording recording;
        QVERIFY2(recording.keepFor(0.01), "parec records nothing");
        player.play(QString(), ui::Signal::End); // the 1.5 s horn
        recording.keepFor(0.3);
        player.play(path, ui::Signal::Warning);
        recording.keepFor(0.5 + 1.0);
        QVERIFY(QFile::remove(path));
        QVERIFY(writeFile(path, wav(tone(0.25, 660)))); // same name, new sound
        player.play(path, ui::Signal::Warning);
        recording.keepFor(0.25 + 1.0);
        // The horn cut short and the bell (0.8 s of sound, not 1.5 s or more);
        // then the file as it was rewritten, not as it was first played.
        const QList<Burst> found = bursts(recording.stop(), 0.3);
        qInfo() << "heard" << found;
        QCOMPARE(found.size(), 2);
        QVERIFY2(found[0].length > 0.6 && found[0].length < 1.1, "the horn went on under the bell");
        QVERIFY2(std::abs(found[1].length - 0.25) <= 0.05 && std::abs(found[1].hz - 660) <= 10, "the old file again");
    }

    // ---- Which sound starts (told by the player, not recorded) ----

    void unusualFiles_data()
    {
        // Files Qt's reader would wait on for ever, holding up every later
        // sound, or that it refuses, get the built-in signal at once; layouts
        // it reads play as they are.
        QTest::addColumn<QByteArray>("bytes"); // the file; see the test for the pipe and the large file
        QTest::addColumn<bool>("plays");
        const QByteArray pcm = wav(tone(0.2, 440)), list("LIST\x04\0\0\0INFO", 12);
        const auto patched = [&pcm](qsizetype at, const QByteArray &bytes) {
            return QByteArray(pcm).replace(at, bytes.size(), bytes);
        };
        QTest::newRow("named pipe") << QByteArray() << false;
        QTest::newRow("too large") << pcm << false;
        QTest::newRow("empty file") << QByteArray("") << false;
        QTest::newRow("cut in the data") << pcm.left(44 + 1000) << false;
        QTest::newRow("half a frame of data") << wav(tone(0.2, 440) + '\0') << false;
        QTest::newRow("odd chunk with pad byte") << pcm.left(36) + QByteArray("LIST\x05\0\0\0INFOx\0", 14) + pcm.mid(36) << false;
        QTest::newRow("data before format") << pcm.left(12) + pcm.mid(36) + pcm.mid(12, 24) << false;
        QTest::newRow("not integer PCM") << patched(20, le(3, 2)) << false; // IEEE float in 16 bits
        QTest::newRow("RIFF of another kind") << patched(8, "AVI ") << false;
        // A chunk of 16 KiB before the data (a picture, a long tag): Qt's
        // reader never gets past it, and releasing that sound hangs.
        QTest::newRow("16 KiB chunk before the data")
            << pcm.left(36) + QByteArray("JUNK", 4) + le(16384) + QByteArray(16384, '\0') + pcm.mid(36) << false;
        QTest::newRow("lists around the format") << pcm.left(12) + list + pcm.mid(12, 24) + list + pcm.mid(36) << true;
        QTest::newRow("18-byte format chunk") << pcm.left(16) + le(18) + pcm.mid(20, 16) + le(0, 2) + pcm.mid(36) << true;
        QTest::newRow("RIFF size of a stream") << patched(4, le(0xffffffff)) << true;
        QTest::newRow("8-bit stereo at 8 kHz") << wav(QByteArray(3200, '\x80'), 2, 8000, 8) << true;
        QTest::newRow("24-bit, 8 channels at 192 kHz") << wav(QByteArray(3 * 8 * 19200, '\0'), 8, 192000, 24) << true;
    }
    void unusualFiles()
    {
        if (!m_deaf.isEmpty())
            QSKIP(m_deaf.constData());
        QFETCH(QByteArray, bytes);
        QFETCH(bool, plays);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("signal.wav")), good = dir.filePath(QStringLiteral("good.wav"));
        if (bytes.isNull()) // opening a pipe without a writer never returns
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(writeFile(path, bytes));
        if (qstrcmp(QTest::currentDataTag(), "too large") == 0)
            QVERIFY(QFile::resize(path, ui::SoundPlayer::kMaxFileSize + 1));
        QVERIFY(writeFile(good, wav(tone(0.5, 440)))); // still playing when replaced
        ui::SoundPlayer player;
        QSignalSpy started(&player, &ui::SoundPlayer::started);
        // Two requests at once, either way round (first with the built-in
        // signals still loading): the first, failing or loading late, never
        // sounds over the second. Then the player still answers.
        const QString answer = plays ? path : ui::builtInSignal(ui::Signal::End);
        QStringList answers;
        for (const QStringList &requests : {QStringList{path, good}, QStringList{good, path}, QStringList{good}}) {
            for (const QString &file : requests)
                QVERIFY(timedPlay(player, file, ui::Signal::End) < kPromptUs);
            answers.append(requests.last() == path ? answer : good);
            QTRY_COMPARE(started.size(), answers.size());
            QTest::qWait(300);
            QCOMPARE(sources(started), answers);
        }
    }

    // The program's own player, without any audio output.
    void withoutOutputSaysSoOnceAndGoesOn()
    {
        QTemporaryDir dir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // A server address where nobody listens: no sound server at all.
        environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:") + dir.filePath(QStringLiteral("nobody")));
        for (const QString &name : {QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("PULSE_RUNTIME_PATH")})
            environment.insert(name, dir.path());
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kWithoutOutput)});
        QVERIFY(child.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(child.readAllStandardError());
        qInfo().noquote() << "child's output:\n" << out << "child's errors:\n" << err;
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QCOMPARE(out, QStringLiteral("still here\n")); // and nothing wrong before
        QCOMPARE(err.count(u'\n'), 1);
        QVERIFY(err.contains(QStringLiteral("no audio output")));
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
