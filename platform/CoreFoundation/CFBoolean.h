// SPDX-License-Identifier: MIT
// The two boolean objects, as preference values are stored and compared.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

typedef const struct __CFBoolean* CFBooleanRef;

// Two constants that are never freed; every true value is the same object, so is every false.
extern const CFBooleanRef kCFBooleanTrue;
extern const CFBooleanRef kCFBooleanFalse;

CFTypeID CFBooleanGetTypeID();
// The value of `boolean`, which must be one of the two constants.
Boolean CFBooleanGetValue(CFBooleanRef boolean);
