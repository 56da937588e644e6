// SPDX-License-Identifier: MIT
#include "settings/CorvantaSettings.h"

#include "platform/CoreFoundation/CoreFoundation.h"
#include "tests/support/TemporaryConfigHome.h"

#include <gtest/gtest.h>

TEST(CorvantaSettings, OnCountsAsOnUnlessStoredFalseAndCountriesMustBeAText) {
    TemporaryConfigHome home;
    CFStringRef app = CorvantaSettingsAppID();
    EXPECT_TRUE(CorvantaSettingsReadOn());
    EXPECT_EQ(CorvantaSettingsReadStoredOn(), std::nullopt);
    EXPECT_EQ(CorvantaSettingsReadCountries(), std::nullopt);

    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), CFSTR("no"), app);
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), kCFBooleanTrue, app);
    EXPECT_TRUE(CorvantaSettingsReadOn());
    EXPECT_EQ(CorvantaSettingsReadCountries(), std::nullopt);

    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), kCFBooleanFalse, app);
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), CFSTR("Euro,"), app);
    EXPECT_FALSE(CorvantaSettingsReadOn());
    EXPECT_EQ(CorvantaSettingsReadCountries(), "Euro,");
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), nullptr, app);
    CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), nullptr, app);
}

TEST(CorvantaSettings, BaseIsAStoredCodeOfThreeCapitalLettersElseTheDollar) {
    TemporaryConfigHome home;
    CFStringRef app = CorvantaSettingsAppID();
    EXPECT_EQ(CorvantaSettingsReadBase(), "USD");
    const std::string longText(10'000, 'E');
    struct Case {
        CFPropertyListRef stored;
        std::string base;
    } cases[] = {
        {CFSTR("EUR"), "EUR"},   {CFSTR("XYZ"), "XYZ"},    {CFSTR("eur"), "USD"},
        {CFSTR("EURO"), "USD"},  {CFSTR("E\x1bR"), "USD"}, {CFSTR(""), "USD"},
        {kCFBooleanTrue, "USD"}, {nullptr, "USD"},
    };
    for (const Case& c : cases) {
        CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), c.stored, app);
        EXPECT_EQ(CorvantaSettingsReadBase(), c.base);
    }
    CFRef<CFStringRef> huge(CFStringCreateWithUTF8(longText));
    CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), huge.get(), app);
    EXPECT_EQ(CorvantaSettingsReadBase(), "USD");

    ASSERT_TRUE(CorvantaSettingsWriteBase("JPY"));
    CFPreferencesAppSynchronize(app);
    EXPECT_EQ(CorvantaSettingsReadBase(), "JPY");
    CFPreferencesSetAppValue(CorvantaSettingsBaseKey(), nullptr, app);
}
