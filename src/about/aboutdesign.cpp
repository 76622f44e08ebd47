#include "about/aboutdesign.h"

#include "app/version.h"

#include <array>

namespace about {

using ui::Align;
using ui::Control;
using ui::Kind;
using ui::kArial825Bold;
using ui::kBlack;
using ui::kButtonGrey;
using ui::kWhite;

namespace {

constexpr ui::Font kArial675{"Arial", 6.75, false};
constexpr ui::BgrColour kBlue = 0x00C00000;

constexpr std::string_view kSmallPrintText =
    "Kovamo Taikan serves the table official of a kata competition judged with flags: it records each "
    "decision of 3 or 5 referees, red (Aka) against blue (Ao), runs the match clock with its sound "
    "signals and shows the result to the public on a scoreboard on a second display.\n\n"
    "Copyright \u00A9 2017 Kovamo. All rights reserved.\n\n"
    "Built with Qt 6, used under the GNU Lesser General Public License v3 (LGPL v3); Qt is a trademark "
    "of The Qt Company Ltd. Text in Liberation Sans and Liberation Sans Narrow (Red Hat, Inc.): fonts-liberation "
    "1.x under the GNU GPL v2 with font exception, Liberation 2.x under the SIL Open Font License 1.1.";

// clang-format off
// name        kind          parent    left  top   width height text  font  fore  back  border  align
const std::array kControls{
    Control{"Frame1", Kind::Frame, "", 120, 0, 6975, 6615, "", {}, kBlack, kWhite, 0},
    Control{"Label1", Kind::Label, "Frame1", 2880, 240, 1230, 210, "Kovamo Taikan", kArial825Bold, kBlue, kWhite},
    Control{"Label2", Kind::Label, "Frame1", 2955, 480, 1065, 210, app::kVersionLine, kArial825Bold, kBlue, kWhite},
    Control{"Label7", Kind::Label, "Frame1", 3045, 720, 840, 210, "10-08-2017", kArial825Bold, kBlue, kWhite},
    Control{"Label3", Kind::Label, "Frame1", 240, 1080, 6495, 210, "Flag decisions for kata", kArial825Bold, kBlack, kWhite, 0, Align::Centre},
    Control{"Label4", Kind::Label, "Frame1", 240, 1320, 6495, 210, "3 or 5 referees", kArial825Bold, kBlack, kWhite, 0, Align::Centre},
    Control{"Label5", Kind::Label, "Frame1", 240, 1560, 6495, 210, "Match clock with signals", kArial825Bold, kBlack, kWhite, 0, Align::Centre},
    Control{"Label6", Kind::Label, "Frame1", 240, 1800, 6495, 210, "Scoreboard on a second display", kArial825Bold, kBlack, kWhite, 0, Align::Centre},
    Control{"Image1", Kind::Picture, "Frame1", 2640, 2160, 1800, 1800, "", {}, kBlack, ui::kTransparent, 0, Align::Left, kPicture},
    Control{"Label8", Kind::Label, "Frame1", 240, 4200, 6495, 1815, kSmallPrintText, kArial675, kBlack, kWhite, 0, Align::Centre},
    Control{"Command2", Kind::Button, "Frame1", 3000, 6120, 975, 375, "Close", kArial825Bold, kBlack, kButtonGrey},
};
// clang-format on

} // namespace

std::span<const Control> aboutControls() { return kControls; }

} // namespace about
