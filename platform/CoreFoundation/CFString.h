// SPDX-License-Identifier: MIT
// Immutable Unicode texts. A CFStringRef holds well-formed Unicode (kept as UTF-8 inside);
// conversions to and from bytes go through an encoding and fail rather than guess.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

#include <string_view>

typedef const struct __CFString* CFStringRef;
typedef std::uint32_t CFStringEncoding;
typedef std::uint8_t UInt8;

enum : CFStringEncoding {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingUTF8 = 0x08000100,
};

CFTypeID CFStringGetTypeID();

// A constant text for a literal: the same literal gives the same object, which is never freed.
#define CFSTR(literal) __CFStringMakeConstantString("" literal "")
CFStringRef __CFStringMakeConstantString(const char* utf8);

// A new text from the terminated bytes `cstr` in `encoding`; null when `cstr` is null, the
// encoding is not supported, or the bytes are not valid in it. The caller releases it.
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* cstr,
                                      CFStringEncoding encoding);
// As above for `numBytes` bytes, which may include zero bytes.
CFStringRef CFStringCreateWithBytes(CFAllocatorRef allocator, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
// A copy of `str` (for an immutable text, `str` itself with one more reference).
CFStringRef CFStringCreateCopy(CFAllocatorRef allocator, CFStringRef str);

// Writes `str` in `encoding` and a terminator into `buffer` of `bufferSize` bytes. Never writes
// past `bufferSize`. Returns false, leaving an empty text when bufferSize > 0, when the text
// with its terminator does not fit or a character has no byte in the encoding.
Boolean CFStringGetCString(CFStringRef str, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding);
// The length in UTF-16 code units, as the original platform counts.
CFIndex CFStringGetLength(CFStringRef str);

// Our addition for C++ callers: the text as UTF-8, valid as long as `str` lives.
std::string_view CFStringGetUTF8(CFStringRef str);
// Our addition: whether `bytes` are well-formed UTF-8 (no overlong forms, surrogates or values
// past U+10FFFF).
bool IsValidUTF8(std::string_view bytes);
// Our addition: a new text from UTF-8 that is known to be valid, or null when it is not.
CFStringRef CFStringCreateWithUTF8(std::string_view utf8);
