// The toolkit-free rules with numbers.
#include "browserboard/serving.h"
#include "common/numeric.h"
#include "decision/coupling.h"
#include "platform/wav.h"
#include "scoreboard/boarddesign.h"
#include "scoreboard/scaling.h"
#include "settings/settingslocation.h"
#include "settings/setupstrip.h"
#include "timer/clockrules.h"
#include "ui/fontsize.h"

#include <QtTest>
#include <cstring>
#include <limits>
#include <map>
#include <span>
#include <string>

using decision::FlagCounts;
using decision::Side;
using scoreboard::Area;
using scoreboard::Placed;
using scoreboard::Scales;
using timer::ClockValue;
using timer::TickSignal;
using namespace std::string_literals;

namespace {

// The scoreboard's elements for a window of w x h twips.
struct Board {
    std::vector<Placed> all;
    Board(double w, double h, Scales scales = {}, bool mirrored = false) : all(scoreboard::scaleDesign(scoreboard::boardDesign(), w, h, scales, mirrored)) {}
    const Placed &operator[](std::string_view name) const
    {
        for (const Placed &p : all)
            if (p.name == name)
                return p;
        qFatal("no element %.*s", int(name.size()), name.data());
    }
};

// One expected measure of a scaled element.
constexpr float Placed::*L = &Placed::left, Placed::*T = &Placed::top, Placed::*H = &Placed::height, Placed::*P = &Placed::points;
struct Expected {
    const Board &board;
    const char *name;
    float Placed::*measure;
    float value;
};
void check(std::span<const Expected> expected)
{
    for (const Expected &e : expected) {
        const float actual = e.board[e.name].*e.measure;
        QVERIFY2(qFuzzyCompare(actual, e.value),
                 qPrintable(QStringLiteral("%1: %2, expected %3").arg(QLatin1String(e.name)).arg(double(actual), 0, 'g', 9).arg(double(e.value), 0, 'g', 9)));
    }
}

// WAV files, byte by byte: a chunk, a format chunk (code, channels, rate, bits), its extensible form (with the
// channels' speakers), samples of `bytes` each.
std::string le(std::uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i, value >>= 8)
        out += char(value & 0xff);
    return out;
}
std::string chunk(const char *id, const std::string &body) { return id + le(body.size(), 4) + body; }
std::string fmt(int code, int channels, int rate, int bits)
{
    const int frame = channels * bits / 8;
    return chunk("fmt ", le(code, 2) + le(channels, 2) + le(rate, 4) + le(rate * frame, 4) + le(frame, 2) + le(bits, 2));
}
std::string extensible(int code, int channels, int rate, int bits, std::uint32_t speakers = 0)
{
    const std::string plain = fmt(1, channels, rate, bits).substr(8);
    return chunk("fmt ",
                 le(0xfffe, 2) + plain.substr(2) + le(22, 2) + le(bits, 2) + le(speakers, 4) + le(code, 2)
                     + "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"s);
}
std::string riff(const std::string &chunks, std::uint32_t size = 0) { return "RIFF" + le(size ? size : 4 + chunks.size(), 4) + "WAVE" + chunks; }
template <typename T> std::string samples(std::initializer_list<T> values, int bytes = sizeof(T))
{
    std::string out;
    for (T v : values) {
        std::uint64_t raw = 0;
        std::memcpy(&raw, &v, sizeof(T));
        out += le(raw, bytes);
    }
    return out;
}

} // namespace

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    // Digits, then an optional fraction after a point; anything else stops the number. It stays finite, however many digits.
    void numericValue()
    {
        // clang-format off
        const std::pair<QString, double> rows[] = {
            {"12", 12}, {" 2", 2}, {"\t 7x", 7}, {"1.25", 1.25}, {".5", 0.5}, {"1,5", 1}, {"5.", 5}, {"1.2.3", 1.2}, {"", 0}, {"   ", 0}, {"-5", 0},
            {".", 0}, {"1 2", 1}, {"1e3", 1}, {QString(400, '9'), std::numeric_limits<double>::max()}, {"." + QString(400, '0') + "1", 0},
            {QString(400, '0') + "3", 3}};
        // clang-format on
        for (const auto &[text, value] : rows)
            QVERIFY2(common::numericValue(text.toStdString()) == value, qPrintable(text.left(12)));
    }

    void coupling()
    {
        // counterpart(n, k) for k = 0..6: no button for 0 or above n.
        const int three[] = {0, 2, 1, 0, 0, 0, 0};
        const int five[] = {0, 4, 3, 2, 1, 0, 0};
        for (int k = 0; k <= 6; ++k) {
            QCOMPARE(decision::counterpart(3, k), three[k]);
            QCOMPARE(decision::counterpart(5, k), five[k]);
            QCOMPARE(decision::counterpart(4, k), 0); // no such panel
        }
        const std::tuple<int, Side, int, FlagCounts> couples[] = {
            {5, Side::Red, 1, {1, 4}}, {5, Side::Blue, 1, {4, 1}}, {5, Side::Red, 5, {5, 0}}, {3, Side::Blue, 3, {0, 3}}, {3, Side::Red, 4, {0, 0}}};
        for (const auto &[n, side, k, counts] : couples)
            QCOMPARE(decision::couple(n, side, k), counts);
    }

    // A tall console closes, a short one opens, one in between stays; the menu entry only opens. 0: no change.
    void setupStrip()
    {
        const int heights[][3] = {{5695, 7800, 7800}, {5999, 7800, 7800}, {6000, 0, 0}, {7000, 0, 0}, {7001, 5695, 0}, {7800, 5695, 0}};
        for (const auto &[before, toggled, opened] : heights) {
            QCOMPARE(settings::afterToggle(before).value_or(settings::StripChange{}).outerHeight, toggled);
            QCOMPARE(settings::afterMenuOpen(before).value_or(settings::StripChange{}).outerHeight, opened);
        }
        QCOMPARE(settings::afterToggle(5695)->caption, std::string_view("Close setup"));
        QCOMPARE(settings::afterToggle(7800)->caption, std::string_view("Setup"));
    }

    // One tick from the digit texts as the console holds them; a fraction is dropped.
    void clockTick()
    {
        const TickSignal none = TickSignal::None, warning = TickSignal::Warning, end = TickSignal::End;
        struct Row {
            const char *minutes, *tens, *units;
            ClockValue after;
            TickSignal signal;
        };
        const Row rows[] = {{"2", "0", "0", {1, 5, 9}, none},    {"1", "3", "0", {1, 2, 9}, none},  {"1", "7", "5", {1, 7, 4}, none},
                            {"1", "", "", {0, 5, 9}, none},      {"05", "0", "0", {4, 5, 9}, none}, {"1.9", "0", "0", {0, 5, 9}, none},
                            {"0", "1", "1", {0, 1, 0}, warning}, {"1", "1", "1", {1, 1, 0}, none},  {"0", "1", "0", {0, 0, 9}, none},
                            {"0", "0", "1", {0, 0, 0}, end},     {"", "0", "1", {0, 0, 0}, end}};
        for (const Row &row : rows) {
            const ClockValue start = timer::readClock(row.minutes, row.tens, row.units);
            QVERIFY(timer::canStart(start));
            const timer::TickResult next = timer::tick(start);
            QCOMPARE(next.value, row.after);
            QCOMPARE(next.signal, row.signal);
        }
    }

    // Whole runs: one second a tick, one warning at 0:10, one end at 0:00.
    void clockRuns()
    {
        struct Run {
            ClockValue from;
            int seconds;
            int warnings;
        };
        for (const Run &run : {Run{{1, 7, 5}, 135, 1}, Run{{0, 1, 0}, 10, 0}, Run{{9, 5, 9}, 599, 1}}) {
            ClockValue value = run.from;
            int ticks = 0, warnings = 0, ends = 0;
            while (timer::canStart(value) && ticks < 100000) {
                const timer::TickResult next = timer::tick(value);
                value = next.value;
                ++ticks;
                warnings += next.signal == TickSignal::Warning;
                ends += next.signal == TickSignal::End;
                QVERIFY(value.minutes >= 0 && value.tens >= 0 && value.units >= 0);
            }
            QCOMPARE(ticks, run.seconds);
            QCOMPARE(warnings, run.warnings);
            QCOMPARE(ends, 1);
            // Held up, several seconds a tick: it ends on time, warned unless the step that passes 0:10 also ends it.
            for (const int step : {3, 7, 1000}) {
                value = run.from;
                ticks = warnings = ends = 0;
                for (; timer::canStart(value) && ticks < 1000; ++ticks) {
                    const timer::TickResult next = timer::advance(value, step);
                    value = next.value;
                    warnings += next.signal == TickSignal::Warning;
                    ends += next.signal == TickSignal::End;
                }
                QCOMPARE(ticks, (run.seconds + step - 1) / step);
                QCOMPARE(warnings, (run.seconds - 11) / step == (run.seconds - 1) / step ? 0 : run.warnings);
                QCOMPARE(ends, 1);
            }
        }
        QCOMPARE(timer::advance({0, 3, 0}, 0).value, (ClockValue{0, 3, 0}));
        QVERIFY(!timer::canStart(timer::readClock("0", "0", "0")));
        QCOMPARE(timer::digitText(0), std::string("0"));
        QCOMPARE(timer::digitText(59), std::string("59"));
        QCOMPARE(timer::digitValue(std::string(400, '9')), 1000000000000LL);
    }

    void timeEntry()
    {
        using timer::Entry;
        for (char32_t digit = U'0'; digit <= U'9'; ++digit)
            QCOMPARE(timer::entryOf(digit), Entry::Accept);
        QCOMPARE(timer::entryOf(8), Entry::Accept); // backspace
        QCOMPARE(timer::entryOf(U'.'), Entry::Refuse);
        for (char32_t other : {U',', U' ', U'-', U'+', U'a', U'\r', char32_t(0x16), char32_t(0x7f), U'\u0663', U'\uff11'})
            QCOMPARE(timer::entryOf(other), Entry::Drop);
        for (const char *fits : {"9", "", "09"})
            QVERIFY2(!timer::minutesTooLarge(fits), fits);
        for (const char *tooLarge : {"10", " 10", "9.5"})
            QVERIFY2(timer::minutesTooLarge(tooLarge), tooLarge);
    }

    // A writable program folder keeps kata.ini, whatever the user's folder holds; installed for all users, the
    // user's file, else the program's as a start. What "Save" writes is what the next start reads.
    void settingsLocation()
    {
        using settings::Folder;
        // writable, a user file, a program file: read, write
        const std::tuple<bool, bool, bool, Folder, Folder> rows[] = {
            {true, false, false, Folder::None, Folder::Program}, {true, false, true, Folder::Program, Folder::Program},
            {true, true, false, Folder::None, Folder::Program},  {true, true, true, Folder::Program, Folder::Program},
            {false, false, false, Folder::None, Folder::User},   {false, false, true, Folder::Program, Folder::User},
            {false, true, false, Folder::User, Folder::User},    {false, true, true, Folder::User, Folder::User}};
        for (const auto &[writable, userFile, programFile, read, write] : rows) {
            const settings::Location where = settings::settingsLocation(writable, userFile, programFile);
            QCOMPARE(where.read, read);
            QCOMPARE(where.write, write);
            QCOMPARE(settings::settingsLocation(writable, userFile || write == Folder::User, programFile || write == Folder::Program).read, write);
        }
    }

    // The worked examples' font sizes, to the digit, in single precision (tst_views checks their places in pixels:
    // 1920 x 1080 at 1.8, 1024 x 768 corrected, 0.96 across and 1.28 down).
    void scoreboardScaling()
    {
        const Board wide(28800, 16200), square(15360, 11520);
        const Expected worked[] = {{wide, "scb", P, 395.55f}, {wide, "Label1_4", P, 198.45f}, {square, "scb", P, 210.96f}};
        check(worked);

        // hsch 2: everything but the halves moves to half its place; the boxes and the clock panel narrow to half.
        const Board narrow(28800, 16200, Scales{2, 1, 1});
        for (const Placed &p : narrow.all) {
            const Placed &full = wide[p.name];
            const bool half = p.name == "Shape1" || p.name == "Shape2";
            QCOMPARE(p.left, half ? full.left : full.left / 2);
            QCOMPARE(p.top, full.top);
            if (p.kind == ui::Kind::RoundShape || p.kind == ui::Kind::Frame)
                QCOMPARE(p.width, half ? full.width : full.width / 2);
        }
        QCOMPARE(narrow["Label1_7"].left, -108.0f); // inside Frame1, negative as designed
    }

    // Below an aspect of 1.5, eight corrections; mirrored, the pictures move from their mirrored places. A vertical
    // factor of 1 (H = 9000) shows the corrections as they are.
    void scoreboardCorrectionsBelowThreeToTwo()
    {
        const Board atLimit(13500, 9000), below(13499.1, 9000); // aspect 1.5 and 1.4999
        const Board mirroredAtLimit(13500, 9000, {}, true), mirroredBelow(13499.1, 9000, {}, true);
        // clang-format off
        const Expected corrections[] = {
            {atLimit, "Label1_4", T, 360},              {below, "Label1_4", T, 460},
            {atLimit, "scb", T, 1800},                  {below, "scb", T, 2200},               {below, "scr", T, 2200},
            {atLimit, "Frame1", T, 6120},               {below, "Frame1", T, 6320},
            {atLimit, "Shape5_3", H, 2775},             {below, "Shape5_3", H, 2975},
            {atLimit, "Shape5_0", H, 2535},             {below, "Shape5_0", H, 2135},
            {atLimit, "Image1", L, 8440.03125f},        {below, "Image1", L, 8101.9911f},
            {atLimit, "Image2", L, 2869.59375f},        {below, "Image2", L, 2531.9249f},
            {mirroredAtLimit, "Image1", L, 2868.75f},   {mirroredBelow, "Image1", L, 2531.0813f},
            {mirroredAtLimit, "Image2", L, 8437.5f},    {mirroredBelow, "Image2", L, 8099.46f}, {mirroredBelow, "scb", T, 2200},
        };
        // clang-format on
        check(corrections);
    }

    // Red to the left, the halves leaving a 5-twip strip between them, the names with their sides; nothing else moves.
    void scoreboardMirroring()
    {
        const Board mirrored(16000, 9000, {}, true), plain(16000, 9000);
        QCOMPARE(mirrored["Shape2"].left + mirrored["Shape2"].width, 7995.0f);
        QCOMPARE(mirrored["Shape1"].left + mirrored["Shape1"].width, 16002.0f);
        const std::map<std::string_view, float> moved{{"Shape2", 0},       {"Shape1", 8000},    {"Label1_2", 13500}, {"Label1_1", 600},
                                                      {"Image2", 10000},   {"Image1", 3400},    {"scr", 360},        {"scb", 13315},
                                                      {"blueName", 11205}, {"blueClub", 11205}, {"redName", 120},    {"redClub", 120}};
        for (const Placed &p : plain.all) {
            const Placed &m = mirrored[p.name];
            QCOMPARE(m.left, moved.contains(p.name) ? moved.at(p.name) : p.left);
            QCOMPARE(m.top, p.top);
            QCOMPARE(m.points, p.points);
        }
    }

    // No scale value makes a value that is not a number or that the window system cannot take; fonts stay in range.
    void scoreboardExtremes()
    {
        QVERIFY(scoreboard::anyScaleZero({0, 1, 1}) && scoreboard::anyScaleZero({1, 1, 0}));
        QVERIFY(!scoreboard::anyScaleZero({1e-300, 1e300, 1}));
        for (double scale : {1e-320, 1e-300, 0.0001, 1e6, 1e308, std::numeric_limits<double>::max()}) {
            for (const Placed &p : Board(28800, 16200, Scales{scale, scale, scale}).all) {
                for (float v : {p.left, p.top, p.width, p.height, p.points})
                    QVERIFY2(std::isfinite(v), qPrintable(QString::number(scale)));
                const int x = scoreboard::safePixels(p.left);
                QVERIFY(x >= -scoreboard::kPixelLimit && x <= scoreboard::kPixelLimit);
                const double points = ui::safePoints(p.points);
                QVERIFY(points >= ui::kMinPoints && points <= ui::kMaxPoints);
            }
        }
        const std::pair<double, int> pixels[] = {
            {7.5, 1}, {-7.5, -1}, {7.4, 0}, {std::nan(""), 0}, {1e30, scoreboard::kPixelLimit}, {-1e30, -scoreboard::kPixelLimit}};
        for (const auto &[twips, pixel] : pixels)
            QCOMPARE(scoreboard::safePixels(twips), pixel);
        QCOMPARE(ui::safePoints(std::nan("")), ui::kMinPoints);
        QCOMPARE(ui::safePoints(219.75), 219.75);
    }

    // The display right of the main one, else the nearest other one (by its corner), else the main one.
    void scoreboardDisplay()
    {
        const Area main{0, 0, 1280, 1024};
        // clang-format off
        const std::tuple<std::vector<Area>, int, int> rows[] = { // displays, the main one, the scoreboard's; x 2560: the gap of mixed scales
            {{main, {1280, 0, 1920, 1080}}, 0, 1}, {{{1280, 0, 1920, 1080}, main}, 1, 0}, {{main, {1280, 200, 1920, 1080}}, 0, 1},
            {{main, {-1920, 0, 1920, 1080}}, 0, 1}, {{main, {2560, 0, 1920, 1080}}, 0, 1}, {{main, {-1920, 0, 1920, 1080}, {3000, 0, 800, 600}}, 0, 2},
            {{main, {4000, 0, 800, 600}, {1400, 3000, 800, 600}}, 0, 1}, {{{-1920, 0, 1920, 1080}, main, {1280, 0, 800, 600}}, 1, 2},
            {{main}, 0, 0}, {{}, 0, -1}};
        // clang-format on
        for (const auto &[displays, mainIndex, target] : rows)
            QCOMPARE(scoreboard::targetDisplay(displays, mainIndex), target);
    }

    // What a WAV file plays as: 16-bit samples of its channels at its rate, then a quarter second of silence; nothing where it is no sound.
    void wavFiles()
    {
        const std::string pcm = samples<std::int16_t>({1000, -1000, 32767, -32768});
        const std::vector<std::int16_t> same{1000, -1000, 32767, -32768};
        const std::string list = chunk("LIST", "INFOISFT" + le(5, 4) + "Taik\0"s), junk = chunk("JUNK", std::string(100000, '\0'));
        const std::string id3 = "TAGEnd of match" + std::string(113, '\0'); // 128 bytes, as tag editors append them
        const auto rf64 = [](const std::string &dataSize) {                 // the header and its ds64 chunk, sizes of 64 bits
            return "RF64" + le(0xffffffff, 4) + "WAVE" + chunk("ds64", le(0, 8) + dataSize + le(4, 8) + le(0, 4));
        };
        struct Row {
            const char *name;
            std::string file;
            std::vector<std::int16_t> heard; // empty: no sound
            int channels = 1, rate = 44100;
        };
        const float nan = std::numeric_limits<float>::quiet_NaN();
        // clang-format off
        const Row rows[] = {
            {"16 bits", riff(fmt(1, 1, 44100, 16) + chunk("data", pcm)), same},
            {"8 bits, unsigned", riff(fmt(1, 1, 44100, 8) + chunk("data", "\x00\x80\xff\x01"s)), {-32768, 0, 32512, -32512}},
            {"24 bits", riff(fmt(1, 1, 44100, 24) + chunk("data", samples<std::int32_t>({0x123456, -1}, 3))), {0x1234, -1}},
            {"32 bits", riff(fmt(1, 2, 8000, 32) + chunk("data", samples<std::int32_t>({INT32_MAX, INT32_MIN}))), {32767, -32768}, 2, 8000},
            {"float", riff(fmt(3, 1, 192000, 32) + chunk("data", samples<float>({1, -1, 0.5, 2, -3, nan}))),
                {32767, -32767, 16384, 32767, -32767, 0}, 1, 192000},
            {"double", riff(fmt(3, 1, 44100, 64) + chunk("data", samples<double>({-0.25}))), {-8192}},
            {"extensible PCM, stereo", riff(extensible(1, 2, 48000, 16) + chunk("data", pcm)), same, 2, 48000},
            // More than two channels, mixed to stereo by their speakers (Windows' usual ones where the format
            // names none): a side's own at 1, the centre's at -3 dB to both, the low frequencies nowhere, each side
            // scaled to 1 in all. 8 channels: FL FR FC LFE BL BR SL SR.
            {"extensible float, 8 channels", riff(extensible(3, 8, 44100, 32) + chunk("data", samples<float>({0, 0, 0, 0, 0, 0, 0, 1}))), {0, 8839}, 2},
            {"3 channels: FL FR FC", riff(fmt(1, 3, 44100, 16) + chunk("data", samples<std::int16_t>({1000, -1000, 2000, -32768, 32767, -32768}))),
                {1414, 243, -32768, 5622}, 2},
            {"4 channels: FL FR LFE BC", riff(extensible(1, 4, 44100, 16, 0x10b) + chunk("data", samples<std::int16_t>({1000, 2000, 30000, -1000}))),
                {172, 757}, 2},
            // As editors and recorders write them: tags before and after, a
            // large one, odd sizes with and without their pad byte, data first,
            // the size of a stream, a stray byte after the last frame.
            {"chunks around", riff(list + chunk("bext", "x") + "\0"s + fmt(1, 1, 44100, 16) + chunk("fact", le(4, 4)) + junk + chunk("data", pcm) + list),
                same},
            {"pad byte left out", riff(fmt(1, 1, 44100, 16) + chunk("LIST", "abc") + chunk("data", pcm)), same},
            {"data first, stream size", riff(chunk("data", pcm) + fmt(1, 1, 44100, 16), 0xffffffff), same},
            {"part of a frame", riff(fmt(1, 1, 44100, 16) + chunk("data", pcm + "\x01"s)), same},
            {"ID3v1 tag at the end", riff(fmt(1, 1, 44100, 16) + chunk("data", pcm)) + id3, same},
            {"data size of a stream", riff(fmt(1, 1, 44100, 16) + "data" + le(0xffffffff, 4) + pcm + "\x01"s), same},
            {"data size 0, the header unfinished", riff(fmt(1, 1, 44100, 16) + "data" + le(0, 4) + pcm), same},
            {"pad byte left out before 32 bytes",
             riff(fmt(1, 1, 44100, 16) + chunk("LIST", "abc") + chunk("data", pcm + pcm + pcm + pcm)),
             {1000, -1000, 32767, -32768, 1000, -1000, 32767, -32768, 1000, -1000, 32767, -32768, 1000, -1000, 32767, -32768}},
            {"RF64", rf64(le(pcm.size(), 8)) + fmt(1, 1, 44100, 16) + "data" + le(0xffffffff, 4) + pcm + list, same},
            {"RF64, its data beyond the file", rf64(le(pcm.size() + 2, 8)) + fmt(1, 1, 44100, 16) + "data" + le(0xffffffff, 4) + pcm, {}},
            {"ID3v1 tag, no data before it", riff(fmt(1, 1, 44100, 16)) + id3, {}},
            {"not RIFF", "RIFX" + riff(fmt(1, 1, 44100, 16) + chunk("data", pcm)).substr(4), {}},
            {"no data", riff(fmt(1, 1, 44100, 16)), {}},
            {"no format", riff(chunk("data", pcm)), {}},
            {"data cut short", riff(fmt(1, 1, 44100, 16) + chunk("data", pcm)).substr(0, 50), {}},
            {"no whole frame", riff(fmt(1, 2, 44100, 16) + chunk("data", "\x01\x02")), {}},
            {"9 channels", riff(fmt(1, 9, 44100, 16) + chunk("data", pcm)), {}},
            {"7999 Hz", riff(fmt(1, 1, 7999, 16) + chunk("data", pcm)), {}},
            {"192001 Hz", riff(fmt(1, 1, 192001, 16) + chunk("data", pcm)), {}},
            {"12 bits", riff(fmt(1, 1, 44100, 12) + chunk("data", pcm)), {}},
            {"16-bit float", riff(fmt(3, 1, 44100, 16) + chunk("data", pcm)), {}},
            {"ADPCM", riff(fmt(2, 1, 44100, 16) + chunk("data", pcm)), {}},
            {"A-law", riff(fmt(6, 1, 44100, 8) + chunk("data", pcm)), {}},
            {"mu-law", riff(fmt(7, 1, 44100, 8) + chunk("data", pcm)), {}},
            {"extensible ADPCM", riff(extensible(2, 1, 44100, 16) + chunk("data", pcm)), {}},
            {"extensible, its extension cut short", riff(extensible(1, 1, 44100, 16).replace(24, 1, 1, '\0') + chunk("data", pcm)), {}},
            {"too large", riff(fmt(1, 1, 44100, 16) + chunk("data", std::string(platform::wav::kMaxFileSize - 44 + 2, '\0'))), {}},
        };
        // clang-format on
        for (const Row &row : rows) {
            const std::optional<std::string> out = platform::wav::playable(row.file);
            QVERIFY2(out.has_value() != row.heard.empty(), row.name);
            if (!out)
                continue;
            const std::size_t tail = std::size_t(row.rate / 4) * std::size_t(row.channels), n = row.heard.size() + tail;
            QCOMPARE(QByteArray::fromStdString(out->substr(0, 44)),
                     QByteArray::fromStdString(riff(fmt(1, row.channels, row.rate, 16) + "data" + le(2 * n, 4), 36 + 2 * n)));
            QCOMPARE(out->size(), 44 + 2 * n);
            std::vector<std::int16_t> heard(row.heard.size());
            std::memcpy(heard.data(), out->data() + 44, 2 * heard.size());
            QVERIFY2(heard == row.heard, row.name);
            QVERIFY2(out->find_first_not_of('\0', 44 + 2 * row.heard.size()) == std::string::npos, row.name);
        }
    }

    // The browser board's choice as --serve ('s') and browser.ini ('f') give it, its addresses, its twin.
    void browserBoard()
    {
        using namespace browserboard;
        const auto describe = [](const std::optional<ServeChoice> &c) {
            const std::string where = !c ? "" : c->where == Where::Everywhere ? "all" : c->where == Where::ThisPc ? "this-pc" : c->address;
            return !c ? "-"s : (c->on ? "on " : "off ") + std::to_string(c->port) + ' ' + where;
        };
        // clang-format off
        const std::tuple<char, std::string, std::string> rows[] = {
            {'s', "8080", "on 8080 all"}, {'s', "192.168.1.20:8081", "on 8081 192.168.1.20"}, {'s', "[fe80::1%eth0]:80", "on 80 fe80::1%eth0"},
            {'s', "localhost:9000", "on 9000 this-pc"}, {'s', "0.0.0.0:65535", "on 65535 all"},
            {'s', "0", "-"}, {'s', "65536", "-"}, {'s', "80x", "-"}, {'s', "", "-"}, {'s', ":8080", "-"}, {'s', "a b:80", "-"}, {'s', "+80", "-"},
            {'s', "123456", "-"}, {'f', "", "off 8080 all"}, {'f', "on=1\r\nport=9090\r\nlisten=this-pc\r\n", "on 9090 this-pc"},
            // damaged: what is wrong keeps its default
            {'f', "on=1\nport=99999\nlisten=10.0.0.7", "on 8080 10.0.0.7"}, {'f', "on=yes\r port = 81 \rlisten=bad address!\rjunk", "off 81 all"},
            {'f', "\xff\0=\x01\non\n="s, "off 8080 all"}, {'f', "port=81\n" + std::string(20000, 'x') + "\non=1", "off 81 all"}};
        // clang-format on
        for (const auto &[source, text, expected] : rows) {
            const auto read = source == 's' ? parseServe(text) : std::optional(readServeFile(text));
            QVERIFY2(describe(read) == expected, text.c_str());
            QVERIFY(!read || readServeFile(writeServeFile(*read)) == *read); // what is written reads back the same
        }
        QCOMPARE(writeServeFile({true, 8081, Where::Address, "10.0.0.7"}), "on=1\r\nport=8081\r\nlisten=10.0.0.7\r\n"s);
        const std::vector<std::string> two{"192.168.1.20", "10.0.0.7"}, none;
        QVERIFY((boardUrls({true, 8080, Where::Everywhere, {}}, 8080, two) == std::vector<std::string>{"http://192.168.1.20:8080/", "http://10.0.0.7:8080/"}));
        QCOMPARE(boardUrls({true, 80, Where::ThisPc, {}}, 80, two).at(0) + boardUrls({}, 8080, none).at(0), "http://127.0.0.1/http://127.0.0.1:8080/"s);
        QCOMPARE(boardUrls({true, 8080, Where::Address, "fe80::1"}, 8080, two), std::vector<std::string>{"http://[fe80::1]:8080/"});
        const std::vector<LocalAddress> found{
            {"127.0.0.1"},     {"8.8.4.4", true},  {"172.17.0.1"},   {"169.254.3.3", true}, {"10.0.0.7", true}, {"172.32.0.1", true}, {"192.168.1.20", true},
            {"fe80::1", true}, {"10.0.0.7", true}, {"192.168.56.1"}, {"172.31.9.9", true},  {"1.2.3"},          {"127.0.1.1"}};
        QCOMPARE(rankAddresses(found),
                 (std::vector<std::string>{"10.0.0.7", "192.168.1.20", "172.31.9.9", "172.17.0.1", "192.168.56.1", "8.8.4.4", "169.254.3.3", "172.32.0.1",
                                           "127.0.0.1", "127.0.1.1"}));
    }

    // The browser board's guard: who is taken and in whose place, which backlog goes, where headers end.
    void browserBoardGuard()
    {
        using namespace browserboard;
        const Limits limits{.connections = 3, .perAddress = 2, .allBacklogBytes = 100};
        const std::vector<Held> two{{"a", false, 5}, {"a", true, 9}}, full{{"a", false, 5}, {"b", false, 7}, {"c", true, 9}},
            pages{{"a", true, 1}, {"b", true, 2}, {"c", true, 3}};
        // clang-format off
        const std::tuple<std::vector<Held>, std::string, int> admissions[] = { // -1 taken; -2 not; else in place of that one
            {{}, "a", -1}, {two, "b", -1}, {two, "a", -2}, {full, "d", 1}, {full, "a", 1}, {pages, "d", -2},
            {{{"a", false, 1}, {"a", false, 2}, {"b", false, 0}}, "a", -2}};
        // clang-format on
        for (const auto &[held, address, expected] : admissions) {
            const Admission admission = admit(held, address, limits);
            QCOMPARE(!admission.taken ? -2 : admission.replaces ? int(*admission.replaces) : -1, expected);
        }
        const std::pair<std::vector<long long>, int> budgets[] = {{{}, -1}, {{50, 50}, -1}, {{50, 51}, 1}, {{200, 10, 300}, 2}};
        for (const auto &[waiting, expected] : budgets)
            QCOMPARE(overBudget(waiting, limits).value_or(std::size_t(-1)), std::size_t(expected));
        // clang-format off
        const std::pair<std::vector<std::string>, std::string> scans[] = { // the pieces as they come; how many of each end the headers
            {{"GET / HTTP/1.1\r\nHost: b\r\n\r\nGET"}, "27"}, {{"GET / HTTP/1.1\n\nX"}, "16"}, {{"\r\n\n \r\nGET / HTTP/1.1\r\n\r\n"}, "24"},
            {{"GET / HTTP/1.1\r\nA: b\r", "\n", "\r", "\nGET"}, "- - - 1"}, {{"GET / HTTP/1.1\r\n", "\n"}, "- 1"}, {{"GET /\r\r\nX: \n\r"}, "-"}};
        // clang-format on
        for (const auto &[pieces, expected] : scans) {
            HeaderScan scan;
            std::string said;
            for (const std::string &piece : pieces) {
                const auto end = scan.feed(piece);
                said += said.empty() ? "" : " ";
                said += end ? std::to_string(*end) : std::string("-");
            }
            QCOMPARE(said, expected);
        }
    }

    // The results as /results.json: exactly so, every text escaped where JSON wants it and read back as it was.
    void resultsAsJson()
    {
        using competition::ResultsTable;
        QCOMPARE(browserboard::resultsJson({}), std::string("{\"format\":1,\"categories\":[]}"));
        const std::string odd = "Say \"Hi\"\\ \n\r\t\x01\x1f 山田";
        const ResultsTable table{
            {{"U14 \"A\"",
              {{1, "semi", {odd, "KC"}, {"Mia", ""}, "decided", "Aka 3–2", "10:15", false}, {2, "", {}, {}, "current", "", "", true, true}},
              {{1, {"Mia", "KC"}, 2}}},
             {"Empty", {}, {}}}};
        const std::string json = browserboard::resultsJson(table);
        const char *expected =
            "{\"format\":1,\"categories\":[{\"name\":\"U14 \\\"A\\\"\",\"bouts\":["
            "{\"bout\":1,\"round\":\"semi\",\"aka\":{\"name\":\"Say \\\"Hi\\\"\\\\ \\n\\r\\t\\u0001\\u001f 山田\",\"club\":\"KC\"},"
            "\"ao\":{\"name\":\"Mia\",\"club\":\"\"},\"state\":\"decided\",\"result\":\"Aka 3–2\",\"time\":\"10:15\",\"current\":false,\"check\":false},"
            "{\"bout\":2,\"round\":\"\",\"aka\":{\"name\":\"\",\"club\":\"\"},\"ao\":{\"name\":\"\",\"club\":\"\"},\"state\":\"current\","
            "\"result\":\"\",\"time\":\"\",\"current\":true,\"check\":true}],\"placings\":[{\"place\":1,\"name\":\"Mia\",\"club\":\"KC\"}]},"
            "{\"name\":\"Empty\",\"bouts\":[],\"placings\":[]}]}";
        QCOMPARE(json, std::string(expected));
        QJsonParseError error{};
        const QJsonDocument read = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(read["categories"][0]["bouts"][0]["aka"]["name"].toString().toStdString(), odd);
    }
};

QTEST_MAIN(RulesTest)
#include "tst_rules.moc"
