// Key-value collections. Only the reference type for now: notifications name it for their
// user info, which the distributed centre sends as an empty set of values.
#pragma once

typedef const struct __CFDictionary* CFDictionaryRef;
