// SPDX-License-Identifier: MIT
#include "platform/AppKit/NSIndexSet.h"

NSUInteger NSIndexSet::firstIndex() const {
    return indexes_.empty() ? NSNotFound : *indexes_.begin();
}

NSUInteger NSIndexSet::indexGreaterThanIndex(NSUInteger index) const {
    auto next = indexes_.upper_bound(index);
    return next == indexes_.end() ? NSNotFound : *next;
}
