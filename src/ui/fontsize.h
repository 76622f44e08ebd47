#pragma once

#include <cmath>

namespace ui {

// The range of font sizes, in points, that the font system renders safely
// and quickly. A scaled font outside it (a scale value of 0.0001 or 1e308)
// is drawn at the nearest end: merely too big or too small.
inline constexpr double kMinPoints = 1.0;
inline constexpr double kMaxPoints = 2000.0;

inline double safePoints(double points)
{
    if (std::isnan(points) || points < kMinPoints)
        return kMinPoints;
    return points > kMaxPoints ? kMaxPoints : points;
}

} // namespace ui
