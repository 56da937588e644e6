// SPDX-License-Identifier: MIT
#include "toolkit/NSStringExtensions.h"

#include <algorithm>

namespace NSStringExtensions {

// In UTF-8 the bytes of "/" and ":" never occur inside another character, so replacing bytes
// replaces characters, one for one, and the text keeps its length.
std::string cleanForFilename(std::string_view text) {
    std::string cleaned(text);
    std::replace(cleaned.begin(), cleaned.end(), '/', '-');
    std::replace(cleaned.begin(), cleaned.end(), ':', '-');
    return cleaned;
}

} // namespace NSStringExtensions
