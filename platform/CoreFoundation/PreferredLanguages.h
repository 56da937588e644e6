// The user's languages as the environment names them, for choosing a bundle's localization.
#pragma once

#include <string>
#include <vector>

// The localizations to try, best first: each entry of LANGUAGE (colon-separated), then the
// first of LC_ALL, LC_MESSAGES and LANG that is set. Each name comes without its codeset and
// modifier (de_DE.UTF-8@euro gives de_DE), followed by its language alone (de); "en" comes
// last. "C" and "POSIX" name no language, and names that are not made of letters, digits, "_"
// and "-" are skipped, so that none can lead out of a bundle's folder. No name appears twice.
std::vector<std::string> PreferredLanguages();
