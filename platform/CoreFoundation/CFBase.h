// SPDX-License-Identifier: MIT
// The reference-counted object model that every CoreFoundation stand-in shares.
#pragma once

#include <cstdint>

typedef unsigned char Boolean;
typedef long CFIndex;
typedef unsigned long CFTypeID;
typedef unsigned long CFHashCode;
typedef unsigned long CFOptionFlags;

typedef const void* CFTypeRef;
// Strings, booleans and the values a preference file can hold.
typedef CFTypeRef CFPropertyListRef;

typedef const struct __CFAllocator* CFAllocatorRef;
// Our stand-ins use the one global heap; the allocator arguments are accepted and ignored.
extern const CFAllocatorRef kCFAllocatorDefault;

// Adds a reference and returns `cf`. Must not be null.
CFTypeRef CFRetain(CFTypeRef cf);
// Drops a reference; the object is destroyed when the last one goes. Must not be null.
// Constants (CFSTR texts, the two booleans) are never destroyed.
void CFRelease(CFTypeRef cf);
CFTypeID CFGetTypeID(CFTypeRef cf);
// Equal objects of the same type; two null references are not compared.
Boolean CFEqual(CFTypeRef a, CFTypeRef b);
CFHashCode CFHash(CFTypeRef cf);
// The number of references held, for tests and diagnostics.
CFIndex CFGetRetainCount(CFTypeRef cf);
