// SPDX-License-Identifier: MIT
#include "base/UserLanguages.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace {

bool isLanguageName(std::string_view name) {
    return !name.empty() && name != "C" && name != "POSIX" &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-';
           });
}

void addOnce(std::vector<std::string>& languages, std::string_view name) {
    if (!isLanguageName(name)) return;
    if (std::find(languages.begin(), languages.end(), name) == languages.end())
        languages.emplace_back(name);
}

// de_DE.UTF-8@euro → de_DE, then de.
void addLocale(std::vector<std::string>& languages, std::string_view locale) {
    const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
    addOnce(languages, name);
    addOnce(languages, name.substr(0, name.find_first_of("_-")));
}

const char* firstSet(std::initializer_list<const char*> variables) {
    for (const char* variable : variables)
        if (const char* value = std::getenv(variable); value && *value) return value;
    return nullptr;
}

} // namespace

std::vector<std::string> PreferredLanguages() {
    std::vector<std::string> languages;
    if (const char* list = std::getenv("LANGUAGE")) {
        std::stringstream entries(list);
        std::string entry;
        while (std::getline(entries, entry, ':'))
            addLocale(languages, entry);
    }
    if (const char* locale = firstSet({"LC_ALL", "LC_MESSAGES", "LANG"}))
        addLocale(languages, locale);
    addOnce(languages, "en");
    return languages;
}

std::string UserLocaleName() {
    return PreferredLanguages().front();
}
