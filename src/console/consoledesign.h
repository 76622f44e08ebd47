#pragma once

#include "app/version.h"
#include "ui/design.h"

#include <span>
#include <string_view>

// The design of the console window Kata, in twips.
namespace console {

inline constexpr std::string_view kCaption = app::kNameAndVersion;

// The client area; its height depends on whether the setup strip is shown.
inline constexpr int kClientWidth = 8505;
inline constexpr int kClientHeightSetupClosed = 4935;
inline constexpr int kClientHeightSetupOpen = 7035;

// Start and Stop share one spot from start-up on.
inline constexpr int kStartStopLeft = 2640;

// Each table lists its rows as the designer stacked them (see build()).
std::span<const ui::Control> frames();        // the client area's frames
std::span<const ui::Control> panelArtwork();  // Frame1, front to back
std::span<const ui::Control> panelControls(); // referee and flag groups, Start/Stop
std::span<const ui::Control> rightColumn();
std::span<const ui::Control> setupStrip();
std::span<const ui::Control> offscreenFields();
std::span<const ui::Control> performers(); // the bout list's names, in Frame1

struct MenuEntry {
    std::string_view name;
    std::string_view caption; // "-" is a separator
};

inline constexpr std::string_view kMenuName = "men";
inline constexpr std::string_view kMenuCaption = "Menu";
std::span<const MenuEntry> menuEntries();

} // namespace console
