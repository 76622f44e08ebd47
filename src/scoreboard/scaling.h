#pragma once

#include "ui/control.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The scoreboard's geometry at an opening: the design, scaled to the size
// the window gets and corrected by the operator's three scale values.
// Toolkit-free; the window applies the result.
namespace scoreboard {

// The operator's scale values as read from hsch, vsch and fsch. A larger
// value makes the elements smaller.
struct Scales {
    double horizontal = 1;
    double vertical = 1;
    double font = 1;
};

// One element after scaling, in twips and points, as single precision.
// Labels keep their design width and height: the window sizes a label to
// its text in the new font.
struct Placed {
    std::string_view name;
    ui::Kind kind;
    std::string_view parent;
    float left, top, width, height;
    float points; // zero where the element has no font
};

struct Factors {
    double aspect;      // W / H
    double widthRatio;  // W over the design width: left and width of the halves
    double heightRatio; // H over the design height: top and height of the halves
    double horizontal;  // the same, over hsch
    double vertical;    // the same, over vsch
    double font;        // W over the design width, over fsch
};

Factors factors(double width, double height, const Scales &scales);

// Below this aspect ratio (strictly) the design is corrected before scaling.
inline constexpr double kCorrectionAspect = 1.5;

// The mirrored places: red on the left. Absolute left edges
// in design twips, in the order they are set.
struct MirroredLeft {
    std::string_view name;
    int left;
};
std::span<const MirroredLeft> mirroredLefts();

// The design, mirrored or not, scaled for a window of `width` x `height`
// twips. Every value is computed in double precision and stored in single
// precision, saturating where it would not fit.
std::vector<Placed> scaleDesign(std::span<const ui::Control> design, double width, double height, const Scales &scales,
                                bool mirrored);

// Whether any of the three scale values reads as 0: the scoreboard is not
// opened then.
bool anyScaleZero(const Scales &scales);

// A scaled measure in twips as whole logical pixels (15 twips each),
// rounded half away from zero and kept within what the window system takes:
// an absurd scale value gives a scoreboard that is merely too big or too
// small.
inline constexpr int kPixelLimit = 100000;
int safePixels(double twips);

// Which display the scoreboard goes to. Display areas are in logical
// pixels on the desktop; `main` is the index of the main display.
struct Area {
    int x, y, width, height;
};
// The display that holds the point 100 twips right of the main display's
// right edge, at its top; where none does (displays of different scales
// can leave a gap there), the nearest display to the right of the main
// one, else the nearest other display: never the main display while there
// is a second one. With a single display, the main one; -1 for none.
int targetDisplay(std::span<const Area> displays, int main);

} // namespace scoreboard
