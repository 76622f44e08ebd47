#include "decision/coupling.h"

namespace decision {

bool isRefereeCount(int n) { return n == 3 || n == 5; }

int counterpart(int n, int k)
{
    if (!isRefereeCount(n) || k < 1 || k > n)
        return 0;
    return n - k;
}

FlagCounts couple(int n, Side side, int k)
{
    if (!isRefereeCount(n) || k < 1 || k > n)
        return {};
    const int other = counterpart(n, k);
    return side == Side::Red ? FlagCounts{k, other} : FlagCounts{other, k};
}

} // namespace decision
