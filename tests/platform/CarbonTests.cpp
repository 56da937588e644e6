// SPDX-License-Identifier: MIT
#include "platform/Carbon/Carbon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

TEST(Handle, KeepsItsSizeAndZeroFillsItsBlock) {
    Handle h = NewHandle(300);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 300);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ((*h)[i], 0);
    DisposeHandle(h);

    Handle empty = NewHandle(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(GetHandleSize(empty), 0);
    DisposeHandle(empty);

    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(GetHandleSize(nullptr), 0);
    DisposeHandle(nullptr);
}

TEST(PascalString, CopiesTheCountedCharactersAndTerminates) {
    const unsigned char p[] = "\x05hello world";
    char c[256];
    std::memset(c, 'x', sizeof c);
    CopyPascalStringToC(p, c);
    EXPECT_STREQ(c, "hello");

    unsigned char full[256];
    full[0] = 255;
    std::memset(full + 1, 'a', 255);
    CopyPascalStringToC(full, c);
    EXPECT_EQ(std::strlen(c), 255u);

    // In place, as Carbon code often converts.
    unsigned char inPlace[] = "\x03"
                              "abc";
    CopyPascalStringToC(inPlace, reinterpret_cast<char*>(inPlace));
    EXPECT_STREQ(reinterpret_cast<char*>(inPlace), "abc");
}

TEST(FSWrite, WritesEverythingAndReportsTheCount) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    long count = 4;
    EXPECT_EQ(FSWrite(static_cast<short>(fds[1]), &count, "abc\n"), noErr);
    EXPECT_EQ(count, 4);
    char got[5] = {};
    ASSERT_EQ(read(fds[0], got, 4), 4);
    EXPECT_STREQ(got, "abc\n");
    close(fds[0]);
    close(fds[1]);
}

TEST(FSWrite, FailsOnAClosedFileAndOnBadArguments) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    close(fds[1]);
    long count = 3;
    EXPECT_LT(FSWrite(static_cast<short>(fds[1]), &count, "abc"), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(FSWrite(1, nullptr, "abc"), paramErr);
    count = -1;
    EXPECT_EQ(FSWrite(1, &count, "abc"), paramErr);
}
