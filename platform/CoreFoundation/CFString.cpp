// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFString.h"

#include "platform/CoreFoundation/CFRuntime.h"

#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

struct __CFString final : __CFObject {
    explicit __CFString(std::string text) : utf8(std::move(text)) {}
    CFTypeID typeID() const override { return CFStringGetTypeID(); }
    bool equals(const __CFObject& other) const override {
        return utf8 == static_cast<const __CFString&>(other).utf8;
    }
    CFHashCode hash() const override { return std::hash<std::string>{}(utf8); }

    const std::string utf8;
};

namespace {

// Owns an ICU converter for the length of one conversion.
class Converter {
public:
    explicit Converter(const char* name) {
        UErrorCode status = U_ZERO_ERROR;
        converter_ = ucnv_open(name, &status);
        if (U_FAILURE(status)) converter_ = nullptr;
    }
    ~Converter() {
        if (converter_) ucnv_close(converter_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    UConverter* get() const { return converter_; }

private:
    UConverter* converter_ = nullptr;
};

constexpr const char* kMacRomanConverter = "macintosh";

// Mac OS Roman gives every byte a character, so decoding only fails if ICU cannot open it.
bool macRomanToUTF8(std::string_view bytes, std::string& out) {
    Converter macRoman(kMacRomanConverter);
    if (!macRoman.get()) return false;
    std::u16string utf16(bytes.size() * 2 + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(macRoman.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    int32_t units = ucnv_toUChars(macRoman.get(), utf16.data(), static_cast<int32_t>(utf16.size()),
                                  bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return false;
    int32_t needed = 0;
    status = U_ZERO_ERROR;
    u_strToUTF8(nullptr, 0, &needed, utf16.data(), units, &status);
    out.assign(static_cast<size_t>(needed), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(out.data(), needed, nullptr, utf16.data(), units, &status);
    return U_SUCCESS(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

std::u16string toUTF16(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strFromUTF8(nullptr, 0, &needed, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    std::u16string utf16(static_cast<size_t>(needed), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8(utf16.data(), needed, nullptr, utf8.data(), static_cast<int32_t>(utf8.size()),
                  &status);
    return utf16;
}

// Encodes into `buffer`; false when a character has no Mac OS Roman byte or it does not fit.
bool utf8ToMacRoman(std::string_view utf8, char* buffer, size_t bufferSize) {
    Converter macRoman(kMacRomanConverter);
    if (!macRoman.get()) return false;
    const std::u16string utf16 = toUTF16(utf8);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(macRoman.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    int32_t bytes = ucnv_fromUChars(macRoman.get(), buffer, static_cast<int32_t>(bufferSize),
                                    utf16.data(), static_cast<int32_t>(utf16.size()), &status);
    // A result that exactly fills the buffer leaves no room for the terminator.
    return U_SUCCESS(status) && status != U_STRING_NOT_TERMINATED_WARNING &&
           static_cast<size_t>(bytes) < bufferSize;
}

} // namespace

CFTypeID CFStringGetTypeID() {
    static const CFTypeID id = CFRuntimeRegisterType("CFString");
    return id;
}

CFStringRef __CFStringMakeConstantString(const char* utf8) {
    static std::mutex mutex;
    static auto* constants = new std::unordered_map<std::string, const __CFString*>();
    std::lock_guard lock(mutex);
    auto found = constants->find(utf8);
    if (found != constants->end()) return found->second;
    auto* str = new __CFString(utf8);
    str->immortal = true;
    constants->emplace(utf8, str);
    return str;
}

bool IsValidUTF8(std::string_view bytes) {
    int32_t offset = 0;
    const auto end = static_cast<int32_t>(bytes.size());
    while (offset < end) {
        UChar32 c = 0;
        U8_NEXT(bytes.data(), offset, end, c);
        if (c < 0) return false;
    }
    return true;
}

CFStringRef CFStringCreateWithUTF8(std::string_view utf8) {
    if (!IsValidUTF8(utf8)) return nullptr;
    return new (std::nothrow) __CFString(std::string(utf8));
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean) {
    if (!bytes || numBytes < 0) return nullptr;
    std::string_view view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(numBytes));
    switch (encoding) {
    case kCFStringEncodingUTF8:
        return CFStringCreateWithUTF8(view);
    case kCFStringEncodingMacRoman: {
        std::string utf8;
        if (!macRomanToUTF8(view, utf8)) return nullptr;
        return new (std::nothrow) __CFString(std::move(utf8));
    }
    default:
        return nullptr;
    }
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* cstr,
                                      CFStringEncoding encoding) {
    if (!cstr) return nullptr;
    return CFStringCreateWithBytes(allocator, reinterpret_cast<const UInt8*>(cstr),
                                   static_cast<CFIndex>(std::strlen(cstr)), encoding, false);
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef str) {
    if (!str) return nullptr;
    return static_cast<CFStringRef>(CFRetain(str));
}

Boolean CFStringGetCString(CFStringRef str, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
    if (!buffer || bufferSize <= 0) return false;
    bool ok = false;
    if (str) {
        const std::string& text = str->utf8;
        switch (encoding) {
        case kCFStringEncodingUTF8:
            ok = text.size() < static_cast<size_t>(bufferSize);
            if (ok) std::memcpy(buffer, text.c_str(), text.size() + 1);
            break;
        case kCFStringEncodingMacRoman:
            ok = utf8ToMacRoman(text, buffer, static_cast<size_t>(bufferSize));
            if (ok) {
                // ucnv_fromUChars terminates when there is room, which ok guarantees.
            }
            break;
        default:
            break;
        }
    }
    if (!ok) buffer[0] = '\0';
    return ok;
}

CFIndex CFStringGetLength(CFStringRef str) {
    return str ? static_cast<CFIndex>(toUTF16(str->utf8).size()) : 0;
}

std::string_view CFStringGetUTF8(CFStringRef str) {
    return str ? std::string_view(str->utf8) : std::string_view();
}
