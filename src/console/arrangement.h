#pragma once

#include <array>
#include <string_view>

namespace console {

// The two arrangements of the main panel: normal puts red (Aka) on the
// left, mirrored puts it on the right.
enum class Arrangement { Normal, Mirrored };

struct LeftEdge {
    std::string_view control;
    int left; // twips
};

// The left edges an arrangement gives, in the order they are applied. Only
// these twelve controls move (each side, its flags, its name and club);
// everything else in the panel stays put.
const std::array<LeftEdge, 12> &leftEdges(Arrangement arrangement);

} // namespace console
