#pragma once

namespace decision {

enum class Side { Red, Blue };

// The flags of one decision; 0 means the side has no button selected.
struct FlagCounts {
    int red = 0;
    int blue = 0;
    friend bool operator==(const FlagCounts &, const FlagCounts &) = default;
};

// The panel sizes the console offers.
bool isRefereeCount(int n);

// The other side's count when one side is given k of n flags: n - k, where 0
// means the other side gets no choice. A k outside 1..n, or an n that is not
// a panel size, is no decision: 0.
int counterpart(int n, int k);

// The whole decision after `side` was given k of n flags: the chosen side
// holds k, the other n - k; an impossible choice leaves no decision at all.
FlagCounts couple(int n, Side side, int k);

} // namespace decision
