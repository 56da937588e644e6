#include "toolkit/CString256.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(CString256, KeepsTheFirst255Characters) {
    std::string long300(300, 'x');
    CString256 s(long300.c_str());
    EXPECT_EQ(std::strlen(s.text), 255u);
}
