// SPDX-License-Identifier: MIT
// The integer types and constants that the AppKit stand-in's interfaces share.
#pragma once

#include <climits>

typedef long NSInteger;
typedef unsigned long NSUInteger;

// The index that no collection holds: what a search or an exhausted index set answers.
constexpr NSUInteger NSNotFound = LONG_MAX;

// Button states: 0 off, 1 on, -1 the mixed state of a tri-state check box.
typedef NSInteger NSControlStateValue;
constexpr NSControlStateValue NSControlStateValueMixed = -1;
constexpr NSControlStateValue NSControlStateValueOff = 0;
constexpr NSControlStateValue NSControlStateValueOn = 1;
