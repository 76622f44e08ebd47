#pragma once

#include "ui/control.h"

#include <span>
#include <string_view>

// The design of the scoreboard window Kabord, in twips. It is laid out once
// for a client area of 16005 x 9000 twips and scaled at every opening.
namespace scoreboard {

inline constexpr std::string_view kWindowName = "Kabord";
inline constexpr std::string_view kWindowTitle = "Form2";
inline constexpr int kDesignWidth = 16005;
inline constexpr int kDesignHeight = 9000;
inline constexpr ui::BgrColour kBackground = ui::rgb(192, 192, 192);

// Every element of the window, from the back of the drawing order to the
// front. The clock labels are placed relative to Frame1. Elements of the
// control arrays Label1 and Shape5 are named Label1_<index>, Shape5_<index>.
std::span<const ui::Control> boardDesign();
// The design row of the element `name`, which must be one of them.
const ui::Control &designRow(std::string_view name);

// The clock group, in the order the clock shows and hides it.
inline constexpr std::string_view kClockGroup[] = {"Shape5_3", "Label1_0", "Label1_7",
                                                   "Label1_5", "Label1_6", "Frame1"};

// The name of element `index` of a control array: element("Label1", 4).
inline constexpr std::string_view kLabelNames[] = {"Label1_0", "Label1_1", "Label1_2", "Label1_3",
                                                   "Label1_4", "Label1_5", "Label1_6", "Label1_7"};
inline constexpr std::string_view kShapeNames[] = {"Shape5_0", "Shape5_1", "Shape5_2", "Shape5_3"};

// Who performs: each side's name and club, and the bout's line.
inline constexpr std::string_view kPerformerNames[] = {"blueName", "blueClub", "redName", "redClub", "boutLine"};

} // namespace scoreboard
