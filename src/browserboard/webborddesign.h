#pragma once

#include "ui/control.h"

#include <span>
#include <string_view>

// The design of the browser scoreboard's window Webbord, in twips.
namespace browserboard {

inline constexpr std::string_view kWindowName = "Webbord";
inline constexpr std::string_view kWindowTitle = "Browser scoreboard";
inline constexpr int kClientWidth = 7200;
inline constexpr int kClientHeight = 4920;

std::span<const ui::Control> webbordControls();

} // namespace browserboard
