// The warning and end-of-match sounds, heard for real: parec records the null
// sink "taikan" of the PulseAudio server tools/test.sh starts (without it those
// cases are skipped), and the recording is measured.
#include "platform/sound.h"
#include "support/system.h"

#include <QApplication>
#include <QSemaphore>
#include <QtTest> // and with it all of QtCore
#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

namespace {

using testing::readFile;
using testing::writeFile;
constexpr int kRate = 44100;
constexpr qint64 kPromptUs = 100'000; // play() returns well within this

// A sine of `hz` at 0.4 of full scale with 5 ms fades, as 16-bit samples,
// ending with its last sample: all of it is to be heard.
QByteArray tone(double seconds, double hz)
{
    const int n = int(std::lround(seconds * kRate)), fade = kRate / 200;
    QByteArray out(2 * n, '\0');
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
    return "RIFF" + le(36 + data.size()) + "WAVEfmt " + le(16) + le(1, 2) + le(channels, 2) + le(rate) + le(rate * frame) + le(frame, 2) + le(bits, 2) + "data"
        + le(data.size()) + data;
}

// A stretch of sound between silences: start and length in seconds, RMS level
// (1 = full scale), and zero crossings a second / 2, the pitch of a tone.
struct Burst {
    double start = 0, length = 0, level = 0, hz = 0;
};

QDebug operator<<(QDebug debug, const Burst &b) // in a list, which keeps its own spacing
{
    return debug.nospace() << "Burst(at " << b.start << " s, " << b.length << " s, level " << b.level << ", " << b.hz << " Hz)";
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
const QString kUnixRoot = QFileInfo::exists(QStringLiteral("Z:/bin/sh")) ? QStringLiteral("Z:") : QString();

// Starts `script` in the Unix shell, each of `files` as $1, $2, ... by its Unix name.
bool shell(const QString &script, QStringList files = {})
{
    for (QString &file : files)
        file.remove(0, kUnixRoot.size());
    return QProcess::startDetached(kUnixRoot + QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), script, QStringLiteral("sh")} + files);
}

// Records the monitor of the null sink "taikan" through parec, as 16-bit mono.
struct Recording {
    QTemporaryDir dir{kUnixRoot + QStringLiteral("/tmp/taikan-heard-XXXXXX")};
    QFile raw{dir.filePath(QStringLiteral("heard.raw"))}, pid{dir.filePath(QStringLiteral("pid"))};
    QByteArray heard;
    Recording()
    {
        shell(QStringLiteral("echo $$ >\"$1\"; exec parec --device=taikan.monitor --raw --format=s16le --rate=%1 "
                             "--channels=1 --latency-msec=20 >\"$2\"")
                  .arg(kRate),
              {pid.fileName(), raw.fileName()});
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
    ~Recording() // (its number was written before parec delivered a sound)
    {
        pid.open(QIODevice::ReadOnly);
        shell(QStringLiteral("kill ") + QString::fromLatin1(pid.readAll()));
    }
};

qint64 timedPlay(platform::Sounds &sounds, const QString &path, platform::Signal fallback) // in microseconds
{
    QElapsedTimer timer;
    timer.start();
    sounds.play(path, fallback);
    return timer.nsecsElapsed() / 1000;
}

// The real files, but a share that stopped answering under /share/: every look at a file there waits until the test
// ends. The first `failures` reads fail, as while a virus scanner holds a file on Windows (as root, a file's
// permissions forbid nothing: this cannot be made for real here).
struct TroubledFiles final : platform::FileAccess {
    QSemaphore gate;
    std::atomic<int> failures = 0, reads = 0;
    const std::shared_ptr<platform::FileAccess> real = platform::realFiles();
    std::optional<Stamp> stamp(const QString &path) override
    {
        if (!path.startsWith(QStringLiteral("/share/")))
            return real->stamp(path);
        gate.acquire();
        gate.release();
        return std::nullopt;
    }
    std::optional<QByteArray> read(const QString &path, std::int64_t limit) override
    {
        return path.startsWith(QStringLiteral("/share/")) || reads++ < failures ? std::nullopt : real->read(path, limit);
    }
};

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
    const std::unique_ptr<platform::SoundPlayer> another = platform::SoundPlayer::make();
    for (platform::Sounds *sounds : {&platform::systemSounds(), static_cast<platform::Sounds *>(another.get())}) {
        sounds->choose(platform::Signal::End, wav);
        for (const QString &path : {wav, wav + QStringLiteral(".missing"), QString(), wav})
            if (const qint64 us = timedPlay(*sounds, path, platform::Signal::End); us >= kPromptUs)
                out << "play(" << path << ") took " << us << " us\n";
    }
    QTimer::singleShot(300, &app, [&out] {
        out << "still here\n";
        QCoreApplication::quit();
    });
    return app.exec();
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT

    std::unique_ptr<platform::SoundPlayer> m_player;
    QStringList m_started; // what the player says it started, in order
    QTemporaryDir m_dir;

    // A player whose file for `signal` is the one at `path`, once it is ready (or has failed).
    void make(const QString &path, platform::Signal signal, std::shared_ptr<platform::FileAccess> files = platform::realFiles())
    {
        m_player = platform::SoundPlayer::make(std::move(files));
        m_started.clear();
        connect(m_player.get(), &platform::SoundPlayer::started, this, [this](const QString &s) { m_started << s; });
        m_player->choose(signal, path);
        if (path.startsWith(m_dir.path())) { // not for no file, nor on a share that does not answer
            const auto &prepared = m_player->files().prepared(platform::SoundFiles::Slot(signal));
            QTRY_VERIFY(prepared.has_value());
            if (!prepared->wav.isEmpty())
                QTRY_VERIFY(m_player->ready(signal)); // loaded
        }
    }

private slots:
    void init() // the cases that listen want the null sink of tools/test.sh as the default output
    {
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER") && qstrcmp(QTest::currentTestFunction(), "withoutOutputSaysSoOnceAndGoesOn") != 0)
            QSKIP("no sound server of tools/test.sh (PULSE_SERVER) to record");
    }
    void cleanup() { m_player.reset(); }

    // What is heard, to the end: the operator's file as itself, however it is
    // written, or the built-in signal; a new request cuts the one playing.
    void heard_data()
    {
        QTest::addColumn<QString>("name");       // of the file; empty: no file named
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::addColumn<int>("fallback");
        QTest::addColumn<int>("beeps");  // to be heard
        QTest::addColumn<bool>("cutIn"); // after cutting in on the horn, and written anew on disk
        const int warning = int(platform::Signal::Warning), end = int(platform::Signal::End);
        const QByteArray pcm = tone(0.5, 440);
        QByteArray surround; // the same tone on the six channels of 5.1, which play as stereo, and an ID3v1 tag after it
        for (qsizetype i = 0; i < pcm.size(); i += 2)
            surround += pcm.mid(i, 2).repeated(6);
        surround = wav(surround, 6) + "TAGBell" + QByteArray(121, '\0');
        QTest::newRow("our WAV") << QStringLiteral("bell #1 – Ende.wav") << wav(pcm) << warning << 1 << false;
        QTest::newRow("5.1, ID3v1 tag") << QStringLiteral("surround.wav") << surround << end << 1 << false;
        QTest::newRow("no file named: warning") << QString() << QByteArray() << warning << 2 << false;
        QTest::newRow("missing file: end") << QStringLiteral("gone.wav") << QByteArray() << end << 1 << false;
        QTest::newRow("not a WAV: warning") << QStringLiteral("notes.wav") << QByteArray("text") << warning << 2 << false;
        QTest::newRow("named pipe: end") << QStringLiteral("pipe.wav") << QByteArray("|") << end << 1 << false;
        QTest::newRow("cuts in, rewritten") << QStringLiteral("bell.wav") << wav(tone(0.25, 660)) << warning << 1 << true;
    }
    void heard()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, fallback);
        QFETCH(int, beeps);
        QFETCH(bool, cutIn);
        const auto signal = platform::Signal(fallback);
        const QString path = name.isEmpty() ? QString() : m_dir.filePath(name);
        if (content == "|" && !testing::kPosix)
            QSKIP(testing::kNoPipes);
        if (content == "|") // opening a pipe without a writer never returns
            QVERIFY(testing::makePipe(path));
        else if (!content.isNull())
            QVERIFY(writeFile(path, cutIn ? wav(tone(0.5, 440)) : content));
        make(path, signal);
        Recording recording;
        QVERIFY2(recording.keepFor(0.01), "parec records nothing");
        if (cutIn) {
            // The 1.5 s horn, after 0.3 s the bell: 0.8 s of sound, not 1.5 s or more.
            m_player->play(QString(), platform::Signal::End);
            recording.keepFor(0.3);
            m_player->play(path, signal);
            recording.keepFor(0.5 + 1.0);
            const QList<Burst> before = bursts(std::exchange(recording.heard, {}), 0.3);
            qInfo() << "heard before" << before;
            QVERIFY2(before.size() == 1 && before[0].length > 0.6 && before[0].length < 1.1, "the horn went on");
            // Written anew: read again within a second or two, and heard as it is now.
            const auto version = m_player->files().prepared(platform::SoundFiles::Slot(signal))->version;
            QVERIFY(writeFile(path, content));
            QTRY_VERIFY_WITH_TIMEOUT(m_player->files().prepared(platform::SoundFiles::Slot(signal))->version > version, 5000);
            QTRY_VERIFY(m_player->ready(signal));
            m_started.clear();
        }
        const bool own = content.startsWith("RIFF");
        // The tone as written, or the built-in signal (16-bit mono at kRate).
        const QByteArray expectedPcm = name == "surround.wav" ? tone(0.5, 440) : readFile(own ? path : platform::builtInSignal(signal)).mid(44);
        const QList<Burst> expected = bursts(expectedPcm);
        QCOMPARE(m_player->ready(signal), own);
        QCOMPARE(expected.size(), beeps);
        const auto differs = [&](const QList<Burst> &heard) -> const char * {
            if (m_started != QStringList{own ? path : platform::builtInSignal(signal)})
                return "another sound started";
            if (heard.size() != beeps)
                return "another number of beeps";
            for (qsizetype i = 0; i < heard.size(); ++i) {
                if (std::abs(heard[i].length - expected[i].length) > 0.03)
                    return "length differs";
                if (std::abs(20 * std::log10(heard[i].level / expected[i].level)) > 1.5)
                    return "level differs";
                if (std::abs(heard[i].hz / expected[i].hz - 1) > 0.03)
                    return "pitch differs";
            }
            return nullptr;
        };
        // On a busy machine (under Wine, or under ThreadSanitizer, which slows every thread) the sound server
        // can fall behind: a sound starts a second late, a burst is split. A sound is heard once more, for
        // longer, before it counts as wrong; the second hearing must be exact.
        for (int attempt = 1;; ++attempt) {
            QVERIFY(timedPlay(*m_player, path, signal) < kPromptUs);
            recording.keepFor(double(expectedPcm.size()) / (2 * kRate) + (kUnixRoot.isEmpty() && attempt == 1 ? 1.0 : 2.5));
            const QList<Burst> heard = bursts(std::exchange(recording.heard, {}));
            qInfo() << "heard" << heard << "expected" << expected;
            const char *fault = differs(heard);
            if (!fault || attempt == 2) {
                QVERIFY2(!fault, fault);
                break;
            }
            m_started.clear();
        }
    }

    // A file named anew on a share that stopped answering holds up nothing: play() returns at once, a timer beside it
    // keeps its time, and until the file is ready the built-in signal is heard, never the file named before it.
    void stalledFileSystem()
    {
        auto stalled = std::make_shared<TroubledFiles>();
        const QString old = m_dir.filePath(QStringLiteral("old.wav"));
        QVERIFY(writeFile(old, wav(tone(0.5, 440))));
        make(old, platform::Signal::End, stalled);
        m_player->choose(platform::Signal::End, QStringLiteral("/share/gong.wav"));
        QElapsedTimer since;
        qint64 latest = 0, late = 0;
        QTimer ticks; // 20 ms apart
        ticks.setTimerType(Qt::PreciseTimer);
        connect(&ticks, &QTimer::timeout, this, [&] {
            late = std::max(late, since.elapsed() - latest - 20);
            latest = since.elapsed();
        });
        Recording recording;
        QVERIFY2(recording.keepFor(0.01), "parec records nothing");
        since.start();
        ticks.start(20);
        QVERIFY(!m_player->ready(platform::Signal::End));
        // Each within 1 ms; on a machine busy with other work, the quickest of three.
        qint64 quickest = kPromptUs;
        for (int i = 0; i < 3; ++i) {
            const qint64 us = timedPlay(*m_player, QStringLiteral("/share/gong.wav"), platform::Signal::End);
            QVERIFY2(us < 50'000, qPrintable(QStringLiteral("play() took %1 us").arg(us)));
            quickest = std::min(quickest, us);
        }
        QVERIFY2(quickest < 1000, qPrintable(QStringLiteral("play() took %1 us").arg(quickest)));
        m_player->choose(platform::Signal::Warning, QStringLiteral("/share/bell.wav"));
        recording.keepFor(2.0);
        QVERIFY2(late < 100, qPrintable(QStringLiteral("a tick %1 ms late").arg(late)));
        // Each request that began says so (on Windows one that the next took over before it began says nothing).
        QVERIFY2(!m_started.isEmpty() && m_started.size() <= 3 && m_started.count(platform::builtInSignal(platform::Signal::End)) == m_started.size(),
                 qPrintable(m_started.join(u' ')));
        const QList<Burst> expected = bursts(readFile(platform::builtInSignal(platform::Signal::End)).mid(44));
        recording.keepFor(expected.value(0).start + expected.value(0).length - 1.0); // until a second after it
        const QList<Burst> heard = bursts(recording.heard);
        qInfo() << "heard" << heard << "expected" << expected;
        QVERIFY2(heard.size() == 1 && expected.size() == 1 && heard[0].length > expected[0].length - 0.1, "not the built-in signal, or more");
        stalled->gate.release(); // the share answers at last, with nothing
    }

    // A file that could not be read (held for a moment) is read again at the next look, until it can, and no
    // more once it could.
    void aFailedReadIsTriedAgain()
    {
        auto files = std::make_shared<TroubledFiles>();
        files->failures = 2;
        const QString path = m_dir.filePath(QStringLiteral("held.wav"));
        QVERIFY(writeFile(path, wav(tone(0.25, 660))));
        make(path, platform::Signal::Warning, files);
        QVERIFY(!m_player->ready(platform::Signal::Warning));
        QTRY_VERIFY_WITH_TIMEOUT(m_player->ready(platform::Signal::Warning), 5000);
        m_player->play(path, platform::Signal::Warning);
        QTRY_COMPARE(m_started, QStringList{path});
        QTest::qWait(1500);
        QCOMPARE(files->reads.load(), 3);
    }

    void withoutOutputSaysSoOnceAndGoesOn()
    {
        // A server address where nobody listens: no sound server at all. The child starts from the Unix
        // shell: under Wine a program's sound driver sees the variables Wine started with, not its own.
        QTemporaryDir dir(kUnixRoot + QStringLiteral("/tmp/taikan-silent-XXXXXX"));
        QVERIFY(shell(QStringLiteral("export PULSE_SERVER=\"unix:$1/nobody\" XDG_RUNTIME_DIR=\"$1\" PULSE_RUNTIME_PATH=\"$1\"; "
                                     "%1 \"$2\" %2 >\"$1/out\" 2>\"$1/err\"; echo $? >\"$1/code.part\"; "
                                     "mv \"$1/code.part\" \"$1/code\"")
                          .arg(kUnixRoot.isEmpty() ? QString() : QStringLiteral("/usr/lib/wine/wine64"), QLatin1String(kWithoutOutput)),
                      {dir.path(), QCoreApplication::applicationFilePath()}));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dir.filePath(QStringLiteral("code"))), 30000);
        auto read = [&dir](const char *name) {
            QFile file(dir.filePath(QLatin1String(name)));
            return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromLocal8Bit(file.readAll()) : QString();
        };
        QCOMPARE(read("code"), QStringLiteral("0\n"));         // a normal end
        QCOMPARE(read("out"), QStringLiteral("still here\n")); // and nothing wrong before
        const QString err = read("err");
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
