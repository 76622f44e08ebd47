#include "console/arrangement.h"

namespace console {

namespace {

// control      normal  mirrored
constexpr std::array<LeftEdge, 8> kNormal{{
    {"Shape1", 120},   // red half
    {"Shape2", 3120},  // blue half
    {"Frame3", 400},   // red flag group
    {"Frame2", 4160},  // blue flag group
    {"Image2", 840},   // red flag picture
    {"Image1", 4440},  // blue flag picture
    {"Label19", 240},  // Aka
    {"Label18", 5000}, // Ao
}};

constexpr std::array<LeftEdge, 8> kMirrored{{
    {"Shape1", 3120},
    {"Shape2", 120},
    {"Frame3", 4160},
    {"Frame2", 400},
    {"Image2", 4440},
    {"Image1", 840},
    {"Label19", 5000},
    {"Label18", 240},
}};

} // namespace

const std::array<LeftEdge, 8> &leftEdges(Arrangement arrangement)
{
    return arrangement == Arrangement::Mirrored ? kMirrored : kNormal;
}

} // namespace console
