// SPDX-License-Identifier: MIT
#include "base/UserLanguages.h"

#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

TEST(PreferredLanguages, ComeFromTheLocaleVariablesInOrder) {
    ScopedEnvironment environment;
    environment.setLocale(
        {{"LANGUAGE", "de_CH:fr"}, {"LC_MESSAGES", "pt_BR.UTF-8@x"}, {"LANG", "it_IT"}});
    EXPECT_EQ(PreferredLanguages(),
              (std::vector<std::string>{"de_CH", "de", "fr", "pt_BR", "pt", "en"}));
    environment.setLocale({{"LC_ALL", "en_GB.UTF-8"}, {"LANG", "de_DE"}});
    EXPECT_EQ(PreferredLanguages(), (std::vector<std::string>{"en_GB", "en"}));
    environment.setLocale({{"LANG", "C.UTF-8"}});
    EXPECT_EQ(PreferredLanguages(), (std::vector<std::string>{"en"}));
    // Names that could leave the bundle's folder are no languages.
    environment.setLocale({{"LANGUAGE", "../../etc:a/b"}, {"LANG", "POSIX"}});
    EXPECT_EQ(PreferredLanguages(), (std::vector<std::string>{"en"}));
}

TEST(UserLocaleName, IsTheFirstLanguageTheVariablesName) {
    struct Case {
        const char *language, *all, *messages, *lang, *locale;
    } cases[] = {
        {nullptr, nullptr, nullptr, nullptr, "en"},
        {nullptr, "C", nullptr, "de_DE", "en"},
        {nullptr, nullptr, "POSIX", nullptr, "en"},
        {nullptr, "fr_FR.UTF-8", "de_DE", "it", "fr_FR"},
        {nullptr, nullptr, "de_CH.UTF-8@euro", "it", "de_CH"},
        {nullptr, nullptr, nullptr, "is_IS.UTF-8", "is_IS"},
        // The same reader as the bundles' and the translations': LANGUAGE comes first.
        {"fr:de", nullptr, nullptr, "de_DE.UTF-8", "fr"},
    };
    ScopedEnvironment environment;
    for (const Case& c : cases) {
        environment.setLocale({{"LANGUAGE", c.language},
                               {"LC_ALL", c.all},
                               {"LC_MESSAGES", c.messages},
                               {"LANG", c.lang}});
        EXPECT_EQ(UserLocaleName(), c.locale) << (c.lang ? c.lang : "");
    }
}
