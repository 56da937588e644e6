#include "ratesite/CurrencyNames.h"

#include <unicode/ucurr.h>
#include <unicode/unistr.h>

CurrencyNames::CurrencyNames(const std::string& localeName)
    : locale_(icu::Locale::createCanonical(localeName.c_str())) {
    UErrorCode status = U_ZERO_ERROR;
    collator_.reset(icu::Collator::createInstance(locale_, status));
    if (U_FAILURE(status)) collator_.reset();
}

std::string CurrencyNames::nameOf(std::string_view code) const {
    UChar isoCode[4] = {};
    for (size_t i = 0; i < 3 && i < code.size(); ++i)
        isoCode[i] = static_cast<UChar>(code[i]);
    UErrorCode status = U_ZERO_ERROR;
    UBool isChoiceFormat = false;
    int32_t length = 0;
    const UChar* name = ucurr_getName(isoCode, locale_.getName(), UCURR_LONG_NAME, &isChoiceFormat,
                                      &length, &status);
    if (U_FAILURE(status) || !name) return std::string(code);
    std::string utf8;
    icu::UnicodeString(name, length).toUTF8String(utf8);
    return utf8;
}

bool CurrencyNames::before(const std::string& a, const std::string& b) const {
    if (!collator_) return a < b;
    UErrorCode status = U_ZERO_ERROR;
    return collator_->compareUTF8(a, b, status) == UCOL_LESS;
}
