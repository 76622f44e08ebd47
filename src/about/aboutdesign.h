#pragma once

#include "ui/control.h"

#include <span>
#include <string_view>

// The design of the About window Overfrm, in twips.
namespace about {

inline constexpr std::string_view kWindowName = "Overfrm";
inline constexpr int kClientWidth = 7200;
inline constexpr int kClientHeight = 6720;

// The picture is also the program's icon.
inline constexpr std::string_view kPicture = ":/icons/taikan.svg";

// The window's controls; every place is relative to the parent row.
std::span<const ui::Control> aboutControls();

// The small print, whose text runs over several lines.
inline constexpr std::string_view kSmallPrint = "Label8";

} // namespace about
