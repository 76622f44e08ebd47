#pragma once

#include <optional>
#include <string_view>

// The setup strip is the lower part of the console; it is open exactly when
// the console is tall enough to show it. Heights are the console's outer
// heights in twips.
namespace settings {

inline constexpr int kOuterHeightClosed = 5695;
inline constexpr int kOuterHeightOpen = 7800;

inline constexpr std::string_view kCaptionClosed = "Setup";
inline constexpr std::string_view kCaptionOpen = "Close setup";

struct StripChange {
    int outerHeight;
    std::string_view caption; // the new caption of the toggle button
};

// The "Setup" / "Close setup" button: a tall console closes, a short one
// opens, one in between stays as it is.
std::optional<StripChange> afterToggle(int outerHeight);

// The menu entry only opens.
std::optional<StripChange> afterMenuOpen(int outerHeight);

} // namespace settings
