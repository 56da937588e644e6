// The platform string class. An NSString is a CoreFoundation string: the same object, usable
// through either interface, so an NSString* converts to a CFStringRef without a copy.
#pragma once

#include "platform/CoreFoundation/CFString.h"

typedef struct __CFString NSString;
