#include "console/consoledesign.h"

#include <array>

namespace console {

using ui::Align;
using ui::Control;
using ui::Kind;
using ui::kArial675Bold;
using ui::kArial825Bold;
using ui::kArial975Bold;
using ui::kArial9Bold;
using ui::kBlack;
using ui::kButtonGrey;
using ui::kSystemWindow;
using ui::kTransparent;
using ui::kWhite;

namespace {

constexpr ui::Font kArial30Bold{"Arial", 30, true};
constexpr ui::Font kArial36Bold{"Arial", 36, true};
constexpr ui::Font kNarrow825{"Arial Narrow", 8.25, false};
constexpr ui::Font kArial12Bold{"Arial", 12, true};
constexpr ui::Font kArial825{"Arial", 8.25, false};

constexpr ui::BgrColour kLightGreen = 0x00C0FFC0;
constexpr ui::BgrColour kLightRed = 0x008080FF;
constexpr ui::BgrColour kGreen = 0x0080FF80;
constexpr ui::BgrColour kRed = 0x000000C0;
constexpr ui::BgrColour kBlue = 0x00C00000;
constexpr ui::BgrColour kDarkRed = 0x00000080;
constexpr ui::BgrColour kDarkBlue = 0x00800000;
constexpr ui::BgrColour kVeryDarkBlue = 0x00400000;

constexpr const char *kRedFlag = ":/flags/red.svg";
constexpr const char *kBlueFlag = ":/flags/blue.svg";
constexpr const char *kFindFile = ":/icons/find.svg";

// clang-format off
// name       kind         parent  left  top   width height text  font  fore  back  border
const std::array kFrames{
    Control{"Frame1", Kind::Frame, "", 120, 120, 6255, 4725, "", {}, kBlack, kWhite, 1},
    Control{"Frame11", Kind::Frame, "", 6480, 120, 1935, 1160, "External scoreboard", kArial825Bold, kBlack, kWhite, 1},
    Control{"Frame10", Kind::Frame, "", 6480, 1290, 1935, 1095, "Timer", kArial825Bold, kBlack, kWhite, 1},
    Control{"Frame9", Kind::Frame, "", 6480, 2370, 1935, 630, "Fieldnumber", kArial825Bold, kBlack, kWhite, 1},
    Control{"Frame8", Kind::Frame, "", 6480, 3000, 1935, 625, "", {}, kBlack, kWhite, 1},
    Control{"Frame14", Kind::Frame, "", 6480, 3630, 1935, 615, "", {}, kBlack, kWhite, 1},
    Control{"Frame7", Kind::Frame, "", 6480, 4200, 1935, 650, "", {}, kBlack, kWhite, 1},
    Control{"Frame13", Kind::Frame, "", 120, 5160, 6255, 1760, "Setup", kArial675Bold, kBlack, kWhite, 1},
    Control{"Frame15", Kind::Frame, "", 6480, 5160, 1935, 1215, "Scoreboard correction", kArial675Bold, kBlack, kWhite, 1},
    Control{"Frame4", Kind::Frame, "", 6480, 6370, 1935, 550, "", {}, kBlack, kWhite, 1},
};

// The main panel, from the top of the stacking order to the bottom.
const std::array kPanelArtwork{
    Control{"Label1", Kind::Label, "Frame1", 2280, 3480, 405, 840, "1", kArial36Bold, kVeryDarkBlue, kWhite, 0, Align::Centre},
    Control{"Label22", Kind::Label, "Frame1", 2760, 3440, 255, 840, ":", kArial36Bold, kVeryDarkBlue, kWhite, 0, Align::Centre},
    Control{"Label2", Kind::Label, "Frame1", 3120, 3480, 405, 840, "0", kArial36Bold, kVeryDarkBlue, kWhite, 0, Align::Centre},
    Control{"Label3", Kind::Label, "Frame1", 3550, 3480, 405, 840, "0", kArial36Bold, kVeryDarkBlue, kWhite, 0, Align::Centre},
    Control{"Shape12", Kind::RoundShape, "Frame1", 2160, 3360, 1935, 1095, "", {}, kBlack, kSystemWindow, 4},
    Control{"Shape11", Kind::RoundShape, "Frame1", 2040, 480, 2175, 615, "", {}, kVeryDarkBlue, kWhite, 4},
    Control{"Label18", Kind::Label, "Frame1", 5160, 360, 765, 690, "Ao", kArial30Bold, kWhite, kBlue, 0, Align::Centre},
    Control{"Label19", Kind::Label, "Frame1", 240, 360, 1065, 690, "Aka", kArial30Bold, kWhite, kRed, 0, Align::Centre},
    Control{"Image2", Kind::Picture, "Frame1", 840, 1440, 900, 960, "", {}, kBlack, kTransparent, 0, Align::Left, kRedFlag},
    Control{"Image1", Kind::Picture, "Frame1", 4440, 1440, 900, 960, "", {}, kBlack, kTransparent, 0, Align::Left, kBlueFlag},
    Control{"Shape4", Kind::RoundShape, "Frame1", 3960, 1080, 2055, 2295, "", {}, kDarkBlue, kSystemWindow, 4},
    Control{"Shape3", Kind::RoundShape, "Frame1", 240, 1080, 2055, 2295, "", {}, kDarkRed, kSystemWindow, 4},
    Control{"Shape2", Kind::Shape, "Frame1", 3120, 360, 3000, 4215, "", {}, kBlue, kBlue, 1},
    Control{"Shape1", Kind::Shape, "Frame1", 120, 360, 3000, 4215, "", {}, kRed, kRed, 1},
};

const std::array kPanelControls{
    // The referee count, in its box.
    Control{"Frame6", Kind::Frame, "Frame1", 2160, 500, 1935, 495, "", {}, kBlack, kWhite},
    Control{"Label23", Kind::Label, "Frame6", 120, 225, 765, 210, "Referees", kArial825Bold},
    Control{"Options3", Kind::Option, "Frame6", 1020, 280, 255, 195},
    Control{"Options5", Kind::Option, "Frame6", 1560, 280, 255, 195},
    Control{"Label17", Kind::Label, "Frame6", 1080, 15, 135, 255, "3", kArial825Bold},
    Control{"Label20", Kind::Label, "Frame6", 1605, 20, 135, 255, "5", kArial825Bold},

    // Red (Aka) flags: a button for 1..5 flags, its digit above it.
    Control{"Frame3", Kind::Frame, "Frame1", 400, 2430, 1695, 735, "", {}, kBlack, kWhite},
    Control{"Optionr1", Kind::Option, "Frame3", 80, 400, 255, 195},
    Control{"Optionr2", Kind::Option, "Frame3", 400, 400, 255, 195},
    Control{"Optionr3", Kind::Option, "Frame3", 720, 400, 255, 195},
    Control{"Optionr4", Kind::Option, "Frame3", 1050, 400, 255, 195},
    Control{"Optionr5", Kind::Option, "Frame3", 1400, 400, 255, 195},
    Control{"Label16", Kind::Label, "Frame3", 140, 120, 135, 255, "1", kNarrow825},
    Control{"Label15", Kind::Label, "Frame3", 480, 120, 135, 255, "2", kNarrow825},
    Control{"Label14", Kind::Label, "Frame3", 780, 120, 135, 255, "3", kNarrow825},
    Control{"Label13", Kind::Label, "Frame3", 1120, 120, 135, 255, "4", kNarrow825},
    Control{"Label12", Kind::Label, "Frame3", 1460, 120, 135, 255, "5", kNarrow825},

    // Blue (Ao) flags, laid out like the red ones.
    Control{"Frame2", Kind::Frame, "Frame1", 4160, 2430, 1695, 735, "", {}, kBlack, kWhite},
    Control{"Optionb1", Kind::Option, "Frame2", 80, 400, 255, 195},
    Control{"Optionb2", Kind::Option, "Frame2", 400, 400, 255, 195},
    Control{"Optionb3", Kind::Option, "Frame2", 720, 400, 255, 195},
    Control{"Optionb4", Kind::Option, "Frame2", 1050, 400, 255, 195},
    Control{"Optionb5", Kind::Option, "Frame2", 1400, 400, 255, 195},
    Control{"Label6", Kind::Label, "Frame2", 140, 120, 135, 255, "1", kNarrow825},
    Control{"Label4", Kind::Label, "Frame2", 480, 120, 135, 255, "2", kNarrow825},
    Control{"Label5", Kind::Label, "Frame2", 780, 120, 135, 255, "3", kNarrow825},
    Control{"Label10", Kind::Label, "Frame2", 1120, 120, 135, 255, "4", kNarrow825},
    Control{"Label11", Kind::Label, "Frame2", 1460, 120, 135, 255, "5", kNarrow825},

    // Start and Stop, side by side as designed; start-up moves both to one spot.
    Control{"Command4", Kind::Button, "Frame1", 2160, 2700, 975, 615, "Start", kArial975Bold, kBlack, kGreen},
    Control{"Command5", Kind::Button, "Frame1", 3120, 2700, 975, 615, "Stop", kArial975Bold, kBlack, kLightRed},
};

const std::array kRightColumn{
    Control{"command1", Kind::Button, "Frame11", 120, 240, 1695, 375, "Start Scoreboard", kArial825Bold, kBlack, kLightGreen},
    Control{"Command2", Kind::Button, "Frame11", 120, 720, 1695, 375, "Close Scoreboard", kArial825Bold, kBlack, kLightRed},
    Control{"command6", Kind::Button, "Frame10", 120, 240, 1695, 375, "Reset", kArial825Bold, kBlack, kButtonGrey},
    Control{"Label24", Kind::Label, "Frame10", 120, 720, 705, 225, "Set time", kArial825Bold},
    Control{"Text1", Kind::Text, "Frame10", 1080, 680, 255, 330, "1", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},
    Control{"Label25", Kind::Label, "Frame10", 1350, 680, 60, 225, ":", kArial825Bold},
    Control{"Text6", Kind::Text, "Frame10", 1425, 680, 375, 330, "00", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},
    Control{"Text5", Kind::Text, "Frame9", 240, 240, 495, 285, "1", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},
    Control{"command12", Kind::Button, "Frame9", 960, 200, 855, 375, "Set", kArial825Bold, kBlack, kButtonGrey},
    Control{"command3", Kind::Button, "Frame8", 120, 200, 1695, 375, "Reset match", kArial825Bold, kBlack, kButtonGrey},
    Control{"MyButton1", Kind::Button, "Frame14", 120, 160, 1695, 375, "Setup", kArial825Bold, kBlack, kButtonGrey},
    Control{"command14", Kind::Button, "Frame7", 120, 200, 1695, 375, "Close", kArial825Bold, kBlack, kButtonGrey},
};

const std::array kSetupStrip{
    Control{"MyButton2", Kind::Button, "Frame13", 240, 240, 1245, 375, "End of match", kArial825Bold, kBlack, kButtonGrey},
    Control{"eindwav", Kind::Text, "Frame13", 1680, 300, 3855, 285, "", kArial825Bold, kBlack, kSystemWindow},
    Control{"MyButton4", Kind::Button, "Frame13", 5640, 240, 525, 375, "", kArial825Bold, kBlack, kButtonGrey, 0, Align::Left, kFindFile},
    Control{"MyButton3", Kind::Button, "Frame13", 240, 720, 1245, 375, "Warning", kArial825Bold, kBlack, kButtonGrey},
    Control{"waarwav", Kind::Text, "Frame13", 1680, 720, 3855, 315, "", kArial825Bold, kBlack, kSystemWindow},
    Control{"MyButton5", Kind::Button, "Frame13", 5640, 720, 525, 375, "", kArial825Bold, kBlack, kButtonGrey, 0, Align::Left, kFindFile},
    Control{"Label26", Kind::Label, "Frame13", 1600, 1320, 1530, 210, "Mirror scoreboard", kArial825Bold},
    Control{"Check10", Kind::Check, "Frame13", 3360, 1320, 975, 255, "Internal", kArial825Bold},
    Control{"Check11", Kind::Check, "Frame13", 4560, 1320, 1095, 255, "External", kArial825Bold},
    // Two lines, from (left, top) to (left + width, top + height)
    Control{"Line1", Kind::Line, "Frame13", 4680, 420, 1080, 0},
    Control{"Line2", Kind::Line, "Frame13", 5040, 900, 600, 0},

    Control{"Label9", Kind::Label, "Frame15", 120, 240, 945, 210, "Horiz. scale", kArial825Bold},
    Control{"hsch", Kind::Text, "Frame15", 1200, 200, 600, 315, "1", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},
    Control{"Label7", Kind::Label, "Frame15", 120, 560, 885, 210, "Vert. scale", kArial825Bold},
    Control{"vsch", Kind::Text, "Frame15", 1200, 520, 600, 315, "1", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},
    Control{"Label8", Kind::Label, "Frame15", 120, 920, 840, 210, "Font scale", kArial825Bold},
    Control{"fsch", Kind::Text, "Frame15", 1200, 840, 600, 330, "1", kArial9Bold, kBlack, kSystemWindow, 0, Align::Centre},

    Control{"MyButton7", Kind::Button, "Frame4", 1080, 120, 735, 375, "Save", kArial825Bold, kBlack, kButtonGrey},
};

// Who performs, on each side's colour below its flags, and the bout above
// the panel: empty (so unseen) while there is no bout list.
const std::array kPerformers{
    Control{"boutLine", Kind::FittedText, "Frame1", 240, 60, 5775, 285, "", kArial825Bold},
    Control{"redName", Kind::FittedText, "Frame1", 240, 3420, 1860, 600, "", kArial12Bold, kWhite},
    Control{"redClub", Kind::FittedText, "Frame1", 240, 4020, 1860, 420, "", kArial825, kWhite},
    Control{"blueName", Kind::FittedText, "Frame1", 4215, 3420, 1860, 600, "", kArial12Bold, kWhite},
    Control{"blueClub", Kind::FittedText, "Frame1", 4215, 4020, 1860, 420, "", kArial825, kWhite},
};

// Right of the client area, never seen: they hold the measured size of the
// scoreboard.
const std::array kOffscreenFields{
    Control{"sbtxt", Kind::Text, "", 9960, 1680, 1335, 285},
    Control{"shtxt", Kind::Text, "", 9960, 2040, 1335, 285},
};

constexpr std::array<MenuEntry, 19> kMenu{{
    {"startext", "Start external scoreboard"},
    {"closeext", "Close external scoreboard"},
    {"webbord", "Browser scoreboard..."},
    {"lijn1", "-"},
    {"su", "Setup "},
    {"lijn2", "-"},
    {"resmatch", "Reset match"},
    {"restime", "Reset time"},
    {"lijn5", "-"},
    {"loadbouts", "Load bout list..."},
    {"bouts", "Bouts..."},
    {"nextbout", "Next bout"},
    {"prevbout", "Previous bout"},
    {"exportres", "Export results..."},
    {"resultspdf", "Results sheet (PDF)..."},
    {"lijn3", "-"},
    {"over", "About"},
    {"lijn4", "-"},
    {"cl", "Close"},
}};
// clang-format on

} // namespace

std::span<const Control> frames() { return kFrames; }
std::span<const Control> panelArtwork() { return kPanelArtwork; }
std::span<const Control> panelControls() { return kPanelControls; }
std::span<const Control> rightColumn() { return kRightColumn; }
std::span<const Control> setupStrip() { return kSetupStrip; }
std::span<const Control> offscreenFields() { return kOffscreenFields; }
std::span<const Control> performers() { return kPerformers; }
std::span<const MenuEntry> menuEntries() { return kMenu; }

} // namespace console
