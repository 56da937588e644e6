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
