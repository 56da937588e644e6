// SPDX-License-Identifier: MIT
// The user's languages as the locale variables name them: the one reader of the user's locale,
// for a bundle's localizations, for translations and for the names ICU gives currencies.
#pragma once

#include <string>
#include <vector>

// The localizations to try, best first: each entry of LANGUAGE (colon-separated), then the
// first of LC_ALL, LC_MESSAGES and LANG that is set. Each name comes without its codeset and
// modifier (de_DE.UTF-8@euro gives de_DE), followed by its language alone (de); "en" comes
// last. "C" and "POSIX" name no language, and names that are not made of letters, digits, "_"
// and "-" are skipped, so that none can lead out of a bundle's folder. No name appears twice.
std::vector<std::string> PreferredLanguages();

// The locale the user's texts are in: the first of PreferredLanguages() ("de_CH" for
// LANG=de_CH.UTF-8), so "en" when no variable names a language.
std::string UserLocaleName();
