// SPDX-License-Identifier: MIT
// An ascending set of indexes, walked with firstIndex and indexGreaterThanIndex until they answer
// NSNotFound.
#pragma once

#include "platform/AppKit/NSObjCRuntime.h"

#include <initializer_list>
#include <set>

class NSIndexSet {
public:
    NSIndexSet() = default;
    NSIndexSet(std::initializer_list<NSUInteger> indexes) : indexes_(indexes) {}

    void addIndex(NSUInteger index) { indexes_.insert(index); }
    NSUInteger count() const { return indexes_.size(); }

    NSUInteger firstIndex() const;
    // The smallest index above `index`, or NSNotFound.
    NSUInteger indexGreaterThanIndex(NSUInteger index) const;

private:
    std::set<NSUInteger> indexes_;
};
