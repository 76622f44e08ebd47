#include "settings/setupstrip.h"

namespace settings {

std::optional<StripChange> afterToggle(int outerHeight)
{
    if (outerHeight > 7000)
        return StripChange{kOuterHeightClosed, kCaptionClosed};
    return afterMenuOpen(outerHeight);
}

std::optional<StripChange> afterMenuOpen(int outerHeight)
{
    if (outerHeight < 6000)
        return StripChange{kOuterHeightOpen, kCaptionOpen};
    return std::nullopt;
}

} // namespace settings
