#include "console/arrangement.h"

namespace console {

namespace {

// control      normal  mirrored
constexpr std::array<LeftEdge, 12> kNormal{{
    {"Shape1", 120},   // red half
    {"Shape2", 3120},  // blue half
    {"Frame3", 400},   // red flag group
    {"Frame2", 4160},  // blue flag group
    {"Image2", 840},   // red flag picture
    {"Image1", 4440},  // blue flag picture
    {"Label19", 240},  // Aka
    {"Label18", 5000}, // Ao
    {"redName", 240},  // who performs: below each side's flags
    {"redClub", 240},
    {"blueName", 4215},
    {"blueClub", 4215},
}};

constexpr std::array<LeftEdge, 12> kMirrored{{
    {"Shape1", 3120},
    {"Shape2", 120},
    {"Frame3", 4160},
    {"Frame2", 400},
    {"Image2", 4440},
    {"Image1", 840},
    {"Label19", 5000},
    {"Label18", 240},
    {"redName", 4215},
    {"redClub", 4215},
    {"blueName", 240},
    {"blueClub", 240},
}};

} // namespace

const std::array<LeftEdge, 12> &leftEdges(Arrangement arrangement)
{
    return arrangement == Arrangement::Mirrored ? kMirrored : kNormal;
}

} // namespace console
