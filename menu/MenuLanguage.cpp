// SPDX-License-Identifier: MIT
#include "menu/MenuLanguage.h"

namespace {

struct Language {
    MenuTranslator translator;
    NumberForm numbers = NumberFormOf("en");
};

Language& current() {
    static Language language;
    return language;
}

// Each placeholder once, in one pass, so that a name holding "%2" stays as it is.
std::string filledIn(std::string_view text, std::string_view first, std::string_view second) {
    std::string filled;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 1 < text.size() &&
            (text[at + 1] == '1' || text[at + 1] == '2')) {
            filled += text[++at] == '1' ? first : second;
            continue;
        }
        filled += text[at];
    }
    return filled;
}

} // namespace

void SetMenuLanguage(const std::string& language, MenuTranslator translator) {
    current() = {std::move(translator), NumberFormOf(language)};
}

std::string MenuText(const char* english, std::string_view first, std::string_view second) {
    const Language& language = current();
    std::string text = language.translator ? language.translator(english) : std::string();
    return filledIn(text.empty() ? std::string_view(english) : std::string_view(text), first,
                    second);
}

const NumberForm& MenuNumberForm() {
    return current().numbers;
}
