// SPDX-License-Identifier: MIT
#include "rates/CurrencyNames.h"

#include <unicode/ucurr.h>
#include <unicode/unistr.h>

CurrencyNames::CurrencyNames(const std::string& localeName)
    : locale_(icu::Locale::createCanonical(localeName.c_str())) {
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(icu::Collator::createInstance(locale_, status));
    if (U_FAILURE(status)) collator_.reset();
}

namespace {

// ICU reads three code units; an empty code would give it nothing to read.
struct IsoCode {
    explicit IsoCode(std::string_view code) {
        for (size_t i = 0; i < 3 && i < code.size(); ++i)
            units[i] = static_cast<UChar>(code[i]);
    }
    UChar units[4] = {};
};

std::string utf8Or(const UChar* name, int32_t length, UErrorCode status, std::string_view code) {
    if (U_FAILURE(status) || !name || length <= 0) return std::string(code);
    std::string utf8;
    icu::UnicodeString(name, length).toUTF8String(utf8);
    return utf8;
}

} // namespace

std::string CurrencyNames::nameOf(std::string_view code) const {
    const IsoCode iso(code);
    UErrorCode status = U_ZERO_ERROR;
    UBool isChoiceFormat = false;
    int32_t length = 0;
    const UChar* name = ucurr_getName(iso.units, locale_.getName(), UCURR_LONG_NAME,
                                      &isChoiceFormat, &length, &status);
    return utf8Or(name, length, status, code);
}

std::string CurrencyNames::pluralNameOf(std::string_view code, const char* count) const {
    const IsoCode iso(code);
    UErrorCode status = U_ZERO_ERROR;
    UBool isChoiceFormat = false;
    int32_t length = 0;
    const UChar* name =
        ucurr_getPluralName(iso.units, locale_.getName(), &isChoiceFormat, count, &length, &status);
    return utf8Or(name, length, status, code);
}

bool CurrencyNames::before(const std::string& a, const std::string& b) const {
    if (!collator_) return a < b;
    UErrorCode status = U_ZERO_ERROR;
    return collator_->compareUTF8(a, b, status) == UCOL_LESS;
}
