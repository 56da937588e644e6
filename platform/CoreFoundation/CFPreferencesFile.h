// SPDX-License-Identifier: MIT
// Reading and writing one preference file: parsing, atomic replacement, following symbolic
// links, and the lock that serialises writers of different processes.
#pragma once

#include "base/FileDescriptor.h"
#include "platform/CoreFoundation/CFPropertyListNode.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

struct CFPreferencesFileContents {
    enum class State {
        Missing,    // no file: an empty domain
        Parsed,     // `dictionary` holds the file's values
        Corrupt,    // not a property list with a dictionary at its root; `bytes` holds it
        Unreadable, // exists but could not be read; nothing may replace it
    };
    State state = State::Missing;
    PlistPtr dictionary;
    std::string bytes;
    std::string reason; // why an Unreadable file could not be read
};

// Reads and parses the file at `path` (XML or binary), following symbolic links.
CFPreferencesFileContents CFPreferencesReadFile(const std::string& path);

// The number of files read so far by this process, for tests and benchmarks.
long CFPreferencesFileReadCount();

// The path a rewrite must replace: `path` itself, or the file its chain of symbolic links ends
// at, so that the link stays in place. Unchanged when there is no link or the chain loops.
std::string CFPreferencesResolveLinks(const std::string& path);

// Keeps the damaged contents of `path` beside it as "<path>.corrupt-<UTC time stamp>", so that
// each damage gets a copy of its own, and removes all but the newest few of those copies.
bool CFPreferencesKeepCorruptCopy(const std::string& path, std::string_view bytes,
                                  std::string* reason = nullptr);

// An exclusive advisory lock on a lock file beside the preference file, held while it lives.
class CFPreferencesLock {
public:
    // Waits at most `patience` for the lock. Nothing when the lock file cannot be opened (a
    // symbolic link at its path is not followed) or another holder keeps it longer than that;
    // `reason`, if given, then says why.
    static std::optional<CFPreferencesLock> acquire(const std::string& lockPath,
                                                    std::chrono::milliseconds patience,
                                                    std::string* reason = nullptr);

private:
    explicit CFPreferencesLock(FileDescriptor fd) : fd_(std::move(fd)) {}
    FileDescriptor fd_; // closing it releases the lock
};
