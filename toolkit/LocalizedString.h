// SPDX-License-Identifier: MIT
// Texts of the pane's localized string table ("LocalizedStrings" in the pane's bundle, whose
// identifier the build sets: CORVANTA_PANE_BUNDLE_ID) in the user's language. The key is the
// default text: a key the table lacks comes back as it is. Texts found through the bundle are
// cached for the life of the process, and every later call with an equal key returns the very same
// object.
//
// The caller never owns or releases the result. For a valid key it is never null; a null key, or
// a character key that is not valid UTF-8, gives null. For use from one thread at a time.
#pragma once

#include "platform/CoreFoundation/CFString.h"

CFStringRef LocalizedString(CFStringRef key);
CFStringRef LocalizedString(const char* key);
// The NSString overload. An NSString is the very object a CoreFoundation string is, struct
// __CFString; the type is spelled out because the name NSString is taken by the namespace of the
// platform string's operations. Hands the same object to the core overload. A mutable key must
// not change after the call, since the cache may keep that very object.
CFStringRef LocalizedString(struct __CFString* key);
