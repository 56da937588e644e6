// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CoreFoundation.h"

#include <gtest/gtest.h>

TEST(CFBoolean, TwoImmortalConstantsOfTheirOwnType) {
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
    EXPECT_FALSE(CFBooleanGetValue(kCFBooleanFalse));
    EXPECT_EQ(CFGetTypeID(kCFBooleanTrue), CFBooleanGetTypeID());
    EXPECT_NE(CFBooleanGetTypeID(), CFStringGetTypeID());
    EXPECT_FALSE(CFEqual(kCFBooleanTrue, kCFBooleanFalse));
    // Callers release what Copy gives them; a constant must survive any number of releases.
    for (int i = 0; i < 3; ++i)
        CFRelease(kCFBooleanTrue);
    EXPECT_TRUE(CFBooleanGetValue(kCFBooleanTrue));
}
