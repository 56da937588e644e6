// SPDX-License-Identifier: MIT
#include "platform/Foundation/NSLog.h"
#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

TEST(NSLog, WritesOneLinePerCallToStandardError) {
    LogCapture log;
    NSLog("Corvanta: %s %d%%", "loaded", 100);
    NSLogLine("second");
    NSLog("%s", std::string(100000, 'x').c_str());
    const auto lines = log.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Corvanta: loaded 100%");
    EXPECT_EQ(lines[1], "second");
    EXPECT_EQ(lines[2].size(), 100000u);
}
