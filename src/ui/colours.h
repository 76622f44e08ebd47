#pragma once

#include <QColor>
#include <cstdint>

namespace ui {

// A design colour is written &H00BBGGRR&: blue in the high byte, red in the
// low one. The value kSystemWindow stands for the system's window colour.
using BgrColour = std::uint32_t;

inline constexpr BgrColour kSystemWindow = 0x80000005u;
inline constexpr BgrColour kWhite = 0x00FFFFFFu;
inline constexpr BgrColour kBlack = 0x00000000u;

inline QColor toQColor(BgrColour bgr)
{
    return QColor(int(bgr & 0xFFu), int((bgr >> 8) & 0xFFu), int((bgr >> 16) & 0xFFu));
}

} // namespace ui

namespace ui {

// A label or frame with no background of its own.
inline constexpr BgrColour kTransparent = 0xFFFFFFFFu;

} // namespace ui
