#include "browserboard/webborddesign.h"

#include <array>

namespace browserboard {

using ui::Align;
using ui::Control;
using ui::Kind;
using ui::kArial825Bold;
using ui::kArial975Bold;
using ui::kArial9Bold;
using ui::kBlack;
using ui::kButtonGrey;
using ui::kSystemWindow;
using ui::kWhite;

namespace {

constexpr ui::Font kArial1575Bold{"Arial", 15.75, true};
constexpr ui::Font kArial825{"Arial", 8.25, false};
constexpr ui::BgrColour kDarkBlue = 0x00800000;

// clang-format off
// name        kind          parent    left  top   width height text  font  fore  back  border  align
const std::array kControls{
    Control{"Check1", Kind::Check, "", 240, 240, 6720, 315, "Show the scoreboard in browsers", kArial975Bold},
    Control{"Label1", Kind::Label, "", 240, 750, 1200, 255, "Port", kArial825Bold},
    Control{"Text1", Kind::Text, "", 1560, 690, 900, 330, "8080", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},
    Control{"Label2", Kind::Label, "", 240, 1170, 1200, 255, "Listen on", kArial825Bold},
    Control{"Frame2", Kind::Frame, "", 1440, 1080, 5520, 1140, "", {}, kBlack, kWhite, 0},
    Control{"Option1", Kind::Option, "Frame2", 120, 60, 5280, 285, "every network of this PC", kArial825Bold},
    Control{"Option2", Kind::Option, "Frame2", 120, 420, 1740, 285, "this address:", kArial825Bold},
    Control{"Combo1", Kind::Combo, "Frame2", 1920, 390, 2760, 345, "Address", kArial9Bold},
    Control{"Option3", Kind::Option, "Frame2", 120, 780, 5280, 285, "this PC only", kArial825Bold},
    Control{"Label3", Kind::Label, "", 240, 2340, 6720, 255, "Type into a browser:", kArial825Bold},
    Control{"Label4", Kind::Label, "", 240, 2640, 6720, 900, "", kArial1575Bold, kDarkBlue, kWhite},
    Control{"Label5", Kind::Label, "", 240, 3600, 6720, 720, "", kArial825, kBlack, kWhite},
    Control{"Command1", Kind::Button, "", 5640, 4380, 1320, 375, "Close", kArial825Bold, kBlack, kButtonGrey},
};
// clang-format on

} // namespace

std::span<const Control> webbordControls() { return kControls; }

} // namespace browserboard
