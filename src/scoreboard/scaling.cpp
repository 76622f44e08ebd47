#include "scoreboard/scaling.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace scoreboard {

namespace {

// Mirroring: red (Shape2, Label1_1, Image1, scr) to the left.
constexpr std::array<MirroredLeft, 12> kMirrored{{
    {"Shape1", 8000},    // blue half
    {"Shape2", 0},       // red half
    {"Label1_2", 13500}, // "Ao"
    {"Label1_1", 600},   // Aka
    {"Image2", 10000},   // blue flag
    {"Image1", 3400},    // red flag
    {"scr", 360},        // red count
    {"scb", 13315},      // blue count
    {"blueName", 11205}, // names and clubs with their sides
    {"blueClub", 11205},
    {"redName", 120},
    {"redClub", 120},
}};

// A value computed in double precision, stored in single precision.
float single(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return 0.0f;
    return float(std::clamp(value, -largest, largest));
}

class Elements {
public:
    explicit Elements(std::span<const ui::Control> design)
    {
        m_all.reserve(design.size());
        for (const ui::Control &row : design)
            m_all.push_back(Placed{row.name, row.kind, row.parent, float(row.left), float(row.top), float(row.width),
                                   float(row.height), float(row.font.points)});
    }

    Placed *find(std::string_view name)
    {
        for (Placed &element : m_all)
            if (element.name == name)
                return &element;
        return nullptr;
    }

    // Applies `change` to the element, where the design has it.
    template <typename Change> void with(std::string_view name, Change change)
    {
        if (Placed *element = find(name))
            change(*element);
    }

    std::vector<Placed> take() { return std::move(m_all); }

private:
    std::vector<Placed> m_all;
};

void add(float &value, double amount) { value = single(double(value) + amount); }
void times(float &value, double factor) { value = single(double(value) * factor); }

} // namespace

Factors factors(double width, double height, const Scales &scales)
{
    Factors f{};
    f.aspect = width / height;
    f.widthRatio = width / 16000.0;
    f.heightRatio = height / 9000.0;
    f.horizontal = width / (scales.horizontal * 16000.0);
    f.font = width / (scales.font * 16000.0);
    f.vertical = height / (scales.vertical * 9000.0);
    return f;
}

std::span<const MirroredLeft> mirroredLefts() { return kMirrored; }

bool anyScaleZero(const Scales &scales) { return scales.horizontal == 0 || scales.vertical == 0 || scales.font == 0; }

std::vector<Placed> scaleDesign(std::span<const ui::Control> design, double width, double height, const Scales &scales,
                                bool mirrored)
{
    Elements e(design);
    if (mirrored)
        for (const MirroredLeft &m : kMirrored)
            e.with(m.name, [&](Placed &p) { p.left = float(m.left); });

    const Factors f = factors(width, height, scales);

    // A display squarer than 3:2 gets more room above and below.
    if (f.aspect < kCorrectionAspect) {
        e.with("Label1_4", [](Placed &p) { add(p.top, 100); });
        e.with("scb", [](Placed &p) { add(p.top, 400); });
        e.with("scr", [](Placed &p) { add(p.top, 400); });
        e.with("Frame1", [](Placed &p) { add(p.top, 200); });
        e.with("Shape5_3", [](Placed &p) { add(p.height, 200); });
        e.with("Image1", [](Placed &p) { add(p.left, -400); });
        e.with("Image2", [](Placed &p) { add(p.left, -400); });
        e.with("Shape5_0", [](Placed &p) { add(p.height, -400); });
    }

    // The halves always span the window, whatever the scale values.
    for (const char *half : {"Shape1", "Shape2"})
        e.with(half, [&](Placed &p) { times(p.width, f.widthRatio); });
    for (const char *half : {"Shape1", "Shape2"})
        e.with(half, [&](Placed &p) { times(p.top, f.heightRatio); });
    for (const char *half : {"Shape1", "Shape2"})
        e.with(half, [&](Placed &p) { times(p.height, f.heightRatio); });
    for (const char *half : {"Shape2", "Shape1"})
        e.with(half, [&](Placed &p) { times(p.left, f.widthRatio); });

    for (const char *box : {"Shape5_0", "Shape5_1", "Shape5_2", "Shape5_3"})
        e.with(box, [&](Placed &p) {
            times(p.left, f.horizontal);
            times(p.width, f.horizontal);
            times(p.height, f.vertical);
            times(p.top, f.vertical);
        });

    for (const char *count : {"scb", "scr"})
        e.with(count, [&](Placed &p) {
            times(p.left, f.horizontal);
            times(p.top, f.vertical);
            times(p.points, f.font);
        });

    // The pictures keep their proportions: their widths follow the vertical
    // factor too.
    for (const char *picture : {"Image1", "Image2"})
        e.with(picture, [&](Placed &p) { times(p.left, f.horizontal); });
    for (const char *picture : {"Image1", "Image2"})
        e.with(picture, [&](Placed &p) { times(p.top, f.vertical); });
    for (const char *picture : {"Image1", "Image2"})
        e.with(picture, [&](Placed &p) { times(p.height, f.vertical); });
    for (const char *picture : {"Image2", "Image1"})
        e.with(picture, [&](Placed &p) { times(p.width, f.vertical); });

    // The clock labels lie in Frame1 and scale with it.
    for (const char *label :
         {"Label1_0", "Label1_1", "Label1_2", "Label1_3", "Label1_4", "Label1_5", "Label1_6", "Label1_7"})
        e.with(label, [&](Placed &p) {
            times(p.left, f.horizontal);
            times(p.top, f.vertical);
            times(p.points, f.font);
        });

    // Who performs: boxes that scale as the others do, their fonts as the counts'.
    for (const char *text : {"blueName", "blueClub", "redName", "redClub", "boutLine"})
        e.with(text, [&](Placed &p) {
            times(p.left, f.horizontal);
            times(p.width, f.horizontal);
            times(p.top, f.vertical);
            times(p.height, f.vertical);
            times(p.points, f.font);
        });

    e.with("Frame1", [&](Placed &p) {
        times(p.left, f.horizontal);
        times(p.width, f.horizontal);
        times(p.height, f.vertical);
        times(p.top, f.vertical);
    });
    return e.take();
}

int safePixels(double twips)
{
    if (std::isnan(twips))
        return 0;
    const double pixels = std::round(twips / 15.0);
    return int(std::clamp(pixels, double(-kPixelLimit), double(kPixelLimit)));
}

int targetDisplay(std::span<const Area> displays, int main)
{
    using i64 = long long;
    if (displays.empty())
        return -1;
    if (main < 0 || main >= int(displays.size()))
        main = 0;
    // Everything in twips, where the point lies between whole pixels.
    const Area &home = displays[std::size_t(main)];
    const i64 px = (i64(home.x) + home.width) * 15 + 100;
    const i64 py = i64(home.y) * 15;
    auto contains = [&](const Area &a) {
        return px >= i64(a.x) * 15 && px < (i64(a.x) + a.width) * 15 && py >= i64(a.y) * 15
            && py < (i64(a.y) + a.height) * 15;
    };
    auto distance = [&](const Area &a) {
        const i64 left = i64(a.x) * 15, right = (i64(a.x) + a.width) * 15;
        const i64 top = i64(a.y) * 15, bottom = (i64(a.y) + a.height) * 15;
        const double dx = double(px < left ? left - px : px >= right ? px - right : 0);
        const double dy = double(py < top ? top - py : py >= bottom ? py - bottom : 0);
        return std::hypot(dx, dy);
    };
    // Where no display holds the point (displays of different scales can
    // leave gaps), the nearest display to the right, else the nearest other.
    auto toTheRight = [&](const Area &a) { return i64(a.x) >= i64(home.x) + home.width; };
    std::optional<std::pair<std::pair<bool, double>, int>> nearest; // its rank, its index
    for (int i = 0; i < int(displays.size()); ++i) {
        if (i == main)
            continue;
        const Area &a = displays[std::size_t(i)];
        if (contains(a))
            return i;
        const std::pair<bool, double> rank{!toTheRight(a), distance(a)};
        if (!nearest || rank < nearest->first)
            nearest = {rank, i};
    }
    return nearest ? nearest->second : main;
}

} // namespace scoreboard
