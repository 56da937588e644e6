// SPDX-License-Identifier: MIT
#include "toolkit/NSStringExtensions.h"

#include <gtest/gtest.h>

using NSStringExtensions::cleanForFilename;

TEST(CleanForFilename, TurnsSlashesAndColonsIntoHyphens) {
    EXPECT_EQ(cleanForFilename("a/b:c"), "a-b-c");
    EXPECT_EQ(cleanForFilename("::/"), "---");
    EXPECT_EQ(cleanForFilename(""), "");
    EXPECT_EQ(cleanForFilename("rates-2024 (EUR)"), "rates-2024 (EUR)");
    // Other characters, multi-byte ones included, stay as they are.
    EXPECT_EQ(cleanForFilename("Z\xC3\xBCrich/Gen\xC3\xA8ve: \xE2\x88\x95"),
              "Z\xC3\xBCrich-Gen\xC3\xA8ve- \xE2\x88\x95");
    const std::string original = "USD/EUR";
    EXPECT_EQ(cleanForFilename(original), "USD-EUR");
    EXPECT_EQ(original, "USD/EUR");
}
