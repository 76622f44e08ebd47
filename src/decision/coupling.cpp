#include "decision/coupling.h"

#include <algorithm>

namespace decision {

bool isRefereeCount(int n) { return n == 3 || n == 5; }

int counterpart(int n, int k)
{
    if (!isRefereeCount(n) || k < 1)
        return 0;
    return std::max(0, n - k);
}

FlagCounts couple(int n, Side side, int k)
{
    if (!isRefereeCount(n) || k < 1 || k > n)
        return {};
    const int other = counterpart(n, k);
    return side == Side::Red ? FlagCounts{k, other} : FlagCounts{other, k};
}

} // namespace decision
