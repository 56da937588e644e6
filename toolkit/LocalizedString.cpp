// SPDX-License-Identifier: MIT
#include "toolkit/LocalizedString.h"

#include "base/Identity.h"
#include "platform/CoreFoundation/CFBundle.h"
#include "platform/CoreFoundation/CFDictionary.h"
#include "platform/CoreFoundation/CFRef.h"

#include <unordered_set>

namespace {

// The texts found through the bundle, by key. Created on first use and never released.
CFMutableDictionaryRef localizedStrings = nullptr;

// Every copy of a key handed out while the bundle could not be found, with one reference held
// for each: callers never release them, yet a copy must stay valid after its key is gone.
std::unordered_set<CFStringRef>* handedOutCopies = nullptr;

CFMutableDictionaryRef textDictionary() {
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

// The text as the dictionary now holds it; should storing have failed for want of memory, the
// reference is left to the caller instead, so that a valid key never gives null.
CFStringRef handedOut(CFDictionaryRef dictionary, CFStringRef key, CFRef<CFStringRef>& text) {
    return CFDictionaryGetValue(dictionary, key) == text.get() ? text.get() : text.release();
}

// A new copy of the key, made afresh on each call and never cached, so the next call looks the
// key up again. (A copy of an immutable text is that text with one more reference.)
CFStringRef freshCopyOf(CFStringRef key) {
    CFStringRef copy = CFStringCreateCopy(kCFAllocatorDefault, key);
    if (!handedOutCopies) handedOutCopies = new std::unordered_set<CFStringRef>();
    if (!handedOutCopies->insert(copy).second) CFRelease(copy); // one reference per copy is enough
    return copy;
}

} // namespace

CFStringRef LocalizedString(CFStringRef key) {
    if (!key) return nullptr;
    // Looked up on every call, so a bundle loaded later is used from then on.
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(CFSTR(CORVANTA_PANE_BUNDLE_ID));
    if (!localizedStrings) localizedStrings = textDictionary();
    if (const void* cached = CFDictionaryGetValue(localizedStrings, key))
        return static_cast<CFStringRef>(cached);
    if (bundle) {
        CFRef<CFStringRef> text(
            CFBundleCopyLocalizedString(bundle, key, key, CFSTR("LocalizedStrings")));
        if (text) {
            CFDictionarySetValue(localizedStrings, key, text.get());
            return handedOut(localizedStrings, key, text);
        }
    }
    return freshCopyOf(key);
}

CFStringRef LocalizedString(const char* key) {
    if (!key) return nullptr;
    CFRef<CFStringRef> temporary(
        CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8));
    if (!temporary) return nullptr;
    return LocalizedString(temporary.get());
}

CFStringRef LocalizedString(struct __CFString* key) {
    return LocalizedString(static_cast<CFStringRef>(key));
}
