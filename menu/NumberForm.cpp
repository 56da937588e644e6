// SPDX-License-Identifier: MIT
#include "menu/NumberForm.h"

#include "menu/DecimalNumber.h"

#include <algorithm>
#include <memory>

#include <unicode/dcfmtsym.h>

namespace {

std::string utf8(const icu::UnicodeString& text) {
    std::string bytes;
    text.toUTF8String(bytes);
    return bytes;
}

bool isSpace(const std::string& separator) {
    return separator == " " || separator == "\u00a0" || separator == "\u202f";
}

// `text` in the English form when every separator in it is one `form` has; nothing when it
// holds a "." or "," that is neither of them.
std::optional<std::string> mappedToEnglish(std::string_view text, const NumberForm& form) {
    std::string english;
    while (!text.empty()) {
        auto group = std::find_if(
            form.groupSeparators.begin(), form.groupSeparators.end(),
            [text](const std::string& separator) { return text.starts_with(separator); });
        if (group != form.groupSeparators.end()) {
            english += ',';
            text.remove_prefix(group->size());
            continue;
        }
        const char c = text.front();
        if (c == form.decimalPoint)
            english += '.';
        else if (c == '.' || c == ',')
            return std::nullopt;
        else
            english += c;
        text.remove_prefix(1);
    }
    return english;
}

} // namespace

NumberForm NumberFormOf(const std::string& language) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu::Locale(language.c_str()), status);
    if (U_FAILURE(status)) return {};
    const std::string decimal =
        utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol));
    const std::string group =
        utf8(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol));
    if (decimal != "." && decimal != ",") return {};
    NumberForm form;
    form.decimalPoint = decimal.front();
    if (isSpace(group))
        form.groupSeparators = {"\u202f", "\u00a0", " "};
    else if (!group.empty() && group != decimal)
        form.groupSeparators = {group};
    else
        form.groupSeparators.clear();
    return form;
}

std::optional<std::string> EnglishAmountText(std::string_view text, const NumberForm& form) {
    text = TrimBlanks(text);
    if (const std::optional<std::string> own = mappedToEnglish(text, form))
        if (ParseDecimalNumber(*own)) return own;
    if (ParseDecimalNumber(text)) return std::string(text);
    return std::nullopt;
}

std::string WithDecimalPoint(std::string figure, const NumberForm& form) {
    std::replace(figure.begin(), figure.end(), '.', form.decimalPoint);
    return figure;
}
