#include "competition/boutsdesign.h"

#include <array>

namespace competition {

using ui::Control;
using ui::Kind;
using ui::kArial825Bold;
using ui::kBlack;
using ui::kButtonGrey;
using ui::kWhite;

namespace {

constexpr ui::Font kArial9{"Arial", 9, false};

// clang-format off
// name        kind          parent    left  top   width height text  font  fore  back
const std::array kControls{
    Control{"findLabel", Kind::Label, "", 120, 180, 600, 240, "Find:", kArial825Bold, kBlack, kWhite},
    Control{"findText", Kind::Text, "", 720, 120, 3600, 315, "", kArial9},
    Control{"boutTree", Kind::Tree, "", 120, 555, 12360, 5880, "Bout|Round|Aka|Club|Ao|Club|State|Result", kArial9},
    Control{"chooseBout", Kind::Button, "", 120, 6600, 1575, 375, "Make current", kArial825Bold, kBlack, kButtonGrey},
    Control{"nextBout", Kind::Button, "", 1815, 6600, 1575, 375, "Next bout", kArial825Bold, kBlack, kButtonGrey},
    Control{"correctLabel", Kind::Label, "", 3720, 6675, 1200, 240, "Correct: Aka", kArial825Bold, kBlack, kWhite},
    Control{"correctAka", Kind::Combo, "", 4920, 6615, 720, 345, "Aka's flags", kArial9},
    Control{"correctAoLabel", Kind::Label, "", 5760, 6675, 360, 240, "Ao", kArial825Bold, kBlack, kWhite},
    Control{"correctAo", Kind::Combo, "", 6120, 6615, 720, 345, "Ao's flags", kArial9},
    Control{"correctBout", Kind::Button, "", 6960, 6600, 1935, 375, "Record correction", kArial825Bold, kBlack, kButtonGrey},
    Control{"closeBouts", Kind::Button, "", 11505, 6600, 975, 375, "Close", kArial825Bold, kBlack, kButtonGrey},
};
// clang-format on

} // namespace

std::span<const Control> boutsControls() { return kControls; }

} // namespace competition
