#pragma once

#include <algorithm>
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

// The size a text is drawn at in a box of its own: from `largest` down, a
// tenth smaller at each step, the first at which `fits(points)` says it fits,
// but never below `smallest` (nor outside the safe range).
template <typename Fits> double fittedPoints(double largest, double smallest, Fits fits)
{
    double points = safePoints(largest);
    const double floor = std::min(points, safePoints(smallest));
    while (points > floor && !fits(points))
        points = std::max(floor, points * 0.9);
    return points;
}

} // namespace ui
