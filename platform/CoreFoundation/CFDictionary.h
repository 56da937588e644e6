// SPDX-License-Identifier: MIT
// Dictionaries of CoreFoundation objects or plain pointers. What the dictionary does with its
// keys and values (retain, release, compare, hash) comes from the callbacks it is made with.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

typedef const struct __CFDictionary* CFDictionaryRef;
typedef struct __CFDictionary* CFMutableDictionaryRef;

typedef const void* (*CFDictionaryRetainCallBack)(CFAllocatorRef allocator, const void* value);
typedef void (*CFDictionaryReleaseCallBack)(CFAllocatorRef allocator, const void* value);
typedef const struct __CFString* (*CFDictionaryCopyDescriptionCallBack)(const void* value);
typedef Boolean (*CFDictionaryEqualCallBack)(const void* value1, const void* value2);
typedef CFHashCode (*CFDictionaryHashCallBack)(const void* value);

// A null callback means: do nothing (retain, release), compare or hash the pointer itself.
struct CFDictionaryKeyCallBacks {
    CFIndex version;
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
    CFDictionaryHashCallBack hash;
};

struct CFDictionaryValueCallBacks {
    CFIndex version;
    CFDictionaryRetainCallBack retain;
    CFDictionaryReleaseCallBack release;
    CFDictionaryCopyDescriptionCallBack copyDescription;
    CFDictionaryEqualCallBack equal;
};

// For CoreFoundation objects: retained while held, keys matched with CFEqual and CFHash (so
// texts match by their characters, not by identity).
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

CFTypeID CFDictionaryGetTypeID();

// A new empty dictionary; `capacity` is a size hint only, 0 for none. With null callbacks the
// dictionary holds plain pointers. Null when `capacity` is negative. The caller releases it.
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks);

// The value held under a key equal to `key`, or null. Not owned by the caller.
const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key);
// Holds `value` under `key`. If an equal key is already there, that key stays and only the
// value is replaced (the new one retained, then the old one released). Null keys and values
// are not stored.
void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value);
CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);
