// SPDX-License-Identifier: MIT
// A stored preference value of a kind this stand-in does not model as its own type: an integer,
// a real, a date, data, an array or a dictionary. It is kept exactly as it was read, so that
// writing it back, or rewriting the file around it, changes nothing. Callers that test for a
// boolean or a text see it as neither.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

CFTypeID CFOpaqueValueGetTypeID();
