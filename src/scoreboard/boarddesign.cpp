#include "scoreboard/boarddesign.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace scoreboard {

using ui::Align;
using ui::Control;
using ui::Kind;
using ui::kTransparent;
using ui::kWhite;
using ui::rgb;

namespace {

constexpr ui::Font arialBold(double points) { return ui::Font{"Arial", points, true}; }
constexpr ui::Font arial(double points) { return ui::Font{"Arial", points, false}; }

constexpr ui::BgrColour kBlue = rgb(0, 0, 192);
constexpr ui::BgrColour kRed = rgb(192, 0, 0);
constexpr ui::BgrColour kBlack = rgb(0, 0, 0);
constexpr ui::BgrColour kMaroon = rgb(128, 0, 0);
constexpr ui::BgrColour kDarkGrey = rgb(64, 64, 64);
constexpr ui::BgrColour kPictureBox = rgb(250, 255, 255);

constexpr const char *kRedFlag = ":/flags/red.svg";
constexpr const char *kBlueFlag = ":/flags/blue.svg";

// clang-format off
// name         kind              parent    left   top    width height text      font               fore     back         border
const std::array kBoard{
    Control{"Shape2", Kind::RoundShape, "", 8002, 1680, 7995, 5280, "", {}, kRed, kRed},     // red half
    Control{"Shape1", Kind::RoundShape, "", 0, 1680, 8002, 5280, "", {}, kBlue, kBlue},      // blue half
    Control{"scr", Kind::BoardLabel, "", 13320, 1800, 2445, 4905, "0", arialBold(219.75), kWhite, kTransparent},
    Control{"scb", Kind::BoardLabel, "", 360, 1800, 2445, 4905, "0", arialBold(219.75), kWhite, kTransparent},
    Control{"Label1_2", Kind::BoardLabel, "", 600, 240, 1800, 1620, "Ao", arialBold(69.75), kBlue, kTransparent},
    Control{"Label1_1", Kind::BoardLabel, "", 13200, 240, 2505, 1620, "Aka", arialBold(69.75), kRed, kTransparent},
    Control{"Shape5_0", Kind::RoundShape, "", 6600, 120, 2775, 2535, "", {}, kMaroon, kWhite, 2},
    Control{"Label1_3", Kind::BoardLabel, "", 7200, 120, 1590, 570, "Tatami", arialBold(24.75), kBlack, kTransparent},
    Control{"Label1_4", Kind::BoardLabel, "", 7382, 360, 1230, 2535, "0", arialBold(110.25), kBlack, kTransparent},
    Control{"Shape5_2", Kind::RoundShape, "", 9600, 2475, 3501, 3360, "", {}, kDarkGrey, kPictureBox, 2},
    Control{"Shape5_1", Kind::RoundShape, "", 3000, 2475, 3501, 3360, "", {}, kDarkGrey, kPictureBox, 2},
    Control{"Image1", Kind::Picture, "", 10003, 2895, 2235, 2565, "", {}, kBlack, kTransparent, 0, Align::Left, kRedFlag},
    Control{"Image2", Kind::Picture, "", 3401, 2880, 2235, 2565, "", {}, kBlack, kTransparent, 0, Align::Left, kBlueFlag},

    // The clock group, hidden until the clock is started.
    Control{"Shape5_3", Kind::RoundShape, "", 4920, 6120, 5895, 2775, "", {}, kMaroon, kWhite, 2, Align::Left, {}, true},
    Control{"Frame1", Kind::Frame, "", 5475, 6120, 4935, 2655, "", {}, kBlack, kWhite, 0, Align::Left, {}, true},
    Control{"Label1_7", Kind::BoardLabel, "Frame1", -120, 0, 1440, 2955, "1", arialBold(129.75), kBlack, kWhite, 0, Align::Left, {}, true},
    Control{"Label1_5", Kind::BoardLabel, "Frame1", 1080, -105, 870, 2955, ":", arialBold(129.75), kBlack, kWhite, 0, Align::Left, {}, true},
    Control{"Label1_0", Kind::BoardLabel, "Frame1", 1920, 0, 1440, 2955, "0", arialBold(129.75), kBlack, kWhite, 0, Align::Left, {}, true},
    Control{"Label1_6", Kind::BoardLabel, "Frame1", 3450, 0, 1440, 2955, "0", arialBold(129.75), kBlack, kWhite, 0, Align::Left, {}, true},

    // Who performs, below each side's half, and the bout beside the field
    // number: hidden while there is no bout list.
    Control{"blueName", Kind::FittedText, "", 120, 7140, 4680, 960, "", arialBold(30), kBlue, kTransparent, 0, Align::Centre, {}, true},
    Control{"blueClub", Kind::FittedText, "", 120, 8100, 4680, 780, "", arial(18), kBlue, kTransparent, 0, Align::Centre, {}, true},
    Control{"redName", Kind::FittedText, "", 11205, 7140, 4680, 960, "", arialBold(30), kRed, kTransparent, 0, Align::Centre, {}, true},
    Control{"redClub", Kind::FittedText, "", 11205, 8100, 4680, 780, "", arial(18), kRed, kTransparent, 0, Align::Centre, {}, true},
    Control{"boutLine", Kind::FittedText, "", 3240, 180, 3240, 1440, "", arialBold(15), kBlack, kTransparent, 0, Align::Centre, {}, true},
};
// clang-format on

} // namespace

std::span<const Control> boardDesign() { return kBoard; }

const Control &designRow(std::string_view name)
{
    const auto row =
        std::find_if(kBoard.begin(), kBoard.end(), [name](const Control &row) { return row.name == name; });
    if (row == kBoard.end()) { // a misspelt name: stop here rather than read past the table
        std::fprintf(stderr, "No element %.*s in the scoreboard's design\n", int(name.size()), name.data());
        std::abort();
    }
    return *row;
}

} // namespace scoreboard
