// SPDX-License-Identifier: MIT
#include "base/AtomicFile.h"
#include "base/Folders.h"
#include "base/RegularFile.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using State = RegularFileReading::State;

TEST(ReadRegularFile, ReadsOnlyASmallRegularFileAndSaysWhyNot) {
    TemporaryFolder folder;
    const fs::path file = folder.path() / "file";
    std::ofstream(file) << "twelve bytes";
    const fs::path fifo = folder.path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(file, folder.path() / "link");
    fs::create_directory(folder.path() / "folder");

    struct Case {
        fs::path path;
        std::size_t maxBytes;
        FollowLinks links;
        State state;
        std::string reason; // a part of it
    } cases[] = {
        {file, 12, FollowLinks::No, State::Read, ""},
        {file, 11, FollowLinks::Yes, State::Unreadable,
         "is not a regular file of at most 11 bytes"},
        {folder.path() / "missing", 100, FollowLinks::Yes, State::Missing, ""},
        {file / "below", 100, FollowLinks::Yes, State::Missing, ""},
        // A FIFO must not block the open, however long nobody writes to it.
        {fifo, 100, FollowLinks::Yes, State::Unreadable,
         "is not a regular file of at most 100 bytes"},
        {folder.path() / "link", 100, FollowLinks::Yes, State::Read, ""},
        {folder.path() / "link", 100, FollowLinks::No, State::Unreadable, "cannot open"},
        {folder.path() / "folder", 100, FollowLinks::Yes, State::Unreadable, "not a regular file"},
        {"/dev/zero", 4096, FollowLinks::Yes, State::Unreadable, "at most 4 KiB"},
    };
    for (const Case& c : cases) {
        const RegularFileReading reading = ReadRegularFile(c.path, c.maxBytes, c.links);
        EXPECT_EQ(reading.state, c.state) << c.path;
        EXPECT_NE(reading.reason.find(c.reason), std::string::npos) << reading.reason;
        EXPECT_EQ(reading.bytes, c.state == State::Read ? "twelve bytes" : "") << c.path;
    }
}

TEST(WriteFileAtomically, ReplacesWholeOrLeavesEverythingAsItWas) {
    TemporaryFolder folder;
    const fs::path file = folder.path() / "deep" / "er" / "file";
    ASSERT_TRUE(MakePrivateFolders(file.parent_path()));
    EXPECT_EQ(fs::status(file.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);
    ASSERT_TRUE(WriteFileAtomically(file, "first"));
    ASSERT_TRUE(WriteFileAtomically(file, "second"));
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    // A folder in the file's place: nothing is replaced and no temporary file stays behind.
    fs::create_directory(folder.path() / "taken");
    std::string reason;
    EXPECT_FALSE(WriteFileAtomically(folder.path() / "taken", "bytes", &reason));
    EXPECT_NE(reason.find("cannot replace"), std::string::npos) << reason;
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);

    std::ofstream(folder.path() / "plain") << "x";
    EXPECT_FALSE(MakePrivateFolders(folder.path() / "plain" / "sub", &reason));
    EXPECT_NE(reason.find("Not a directory"), std::string::npos) << reason;
}
