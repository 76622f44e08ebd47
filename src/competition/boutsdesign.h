#pragma once

#include "ui/control.h"

#include <span>
#include <string_view>

// The design of the "Bouts..." window, in twips.
namespace competition {

inline constexpr std::string_view kBoutsWindowName = "boutsWindow";
inline constexpr int kBoutsClientWidth = 12600;
inline constexpr int kBoutsClientHeight = 7200;

// The columns of the bouts' list, in the order of its header.
enum BoutColumn {
    ColumnBout,
    ColumnRound,
    ColumnAka,
    ColumnAkaClub,
    ColumnAo,
    ColumnAoClub,
    ColumnState,
    ColumnResult
};

// The window's controls; every place is relative to the parent row.
std::span<const ui::Control> boutsControls();

} // namespace competition
