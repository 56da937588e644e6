#include "toolkit/LocalizedString.h"

#include "platform/CoreFoundation/CFBundle.h"
#include "platform/CoreFoundation/CFDictionary.h"
#include "platform/CoreFoundation/CFRef.h"

namespace {

// The texts found through the bundle, by key. Created on first use and never released.
CFMutableDictionaryRef localizedStrings = nullptr;

// The keys' own texts handed out while the bundle could not be found. They are not a cache
// (the next call looks the key up again), only their keeper: a caller may hold one as long as it
// likes, so each stays alive, and an equal key reuses it instead of leaking a copy per call.
CFMutableDictionaryRef unlocalizedTexts = nullptr;

CFMutableDictionaryRef textDictionary() {
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

// The text as the dictionary now holds it; should storing have failed for want of memory, the
// reference is left to the caller instead, so that a valid key never gives null.
CFStringRef handedOut(CFDictionaryRef dictionary, CFStringRef key, CFRef<CFStringRef>& text) {
    return CFDictionaryGetValue(dictionary, key) == text.get() ? text.get() : text.release();
}

CFStringRef keptCopyOf(CFStringRef key) {
    if (!unlocalizedTexts) unlocalizedTexts = textDictionary();
    if (const void* kept = CFDictionaryGetValue(unlocalizedTexts, key))
        return static_cast<CFStringRef>(kept);
    CFRef<CFStringRef> copy(CFStringCreateCopy(kCFAllocatorDefault, key));
    CFDictionarySetValue(unlocalizedTexts, copy.get(), copy.get());
    return handedOut(unlocalizedTexts, key, copy);
}

} // namespace

CFStringRef LocalizedString(CFStringRef key) {
    if (!key) return nullptr;
    // Looked up on every call, so a bundle loaded later is used from then on.
    CFBundleRef bundle = CFBundleGetBundleWithIdentifier(CFSTR("com.brenwick.preference.Corvanta"));
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
    return keptCopyOf(key);
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
