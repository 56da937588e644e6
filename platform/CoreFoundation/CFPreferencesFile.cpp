// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFPreferencesFile.h"

#include "base/AtomicFile.h"
#include "base/ErrnoReason.h"
#include "base/Folders.h"
#include "base/RegularFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Far beyond any real preference file; a bigger one is left alone rather than loaded.
constexpr std::size_t kMaxFileSize = 16 * 1024 * 1024;
constexpr int kMaxLinkDepth = 40; // as the kernel's own limit on following links

constexpr std::size_t kKeptCorruptCopies = 5;

std::atomic<long> fileReads{0};

// "20261209T210412.123456Z": UTC, sorts by time.
std::string timeStamp() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    char text[40];
    const size_t length = strftime(text, sizeof text, "%Y%m%dT%H%M%S", &utc);
    std::snprintf(text + length, sizeof text - length, ".%06ldZ", now.tv_nsec / 1000);
    return text;
}

struct FolderCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// The names in `folder` that start with `prefix`, sorted.
std::vector<std::string> namesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, FolderCloser> dir(opendir(folder.c_str()));
    if (!dir) return names;
    while (const dirent* entry = readdir(dir.get()))
        if (std::string_view(entry->d_name).starts_with(prefix)) names.emplace_back(entry->d_name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

CFPreferencesFileContents CFPreferencesReadFile(const std::string& path) {
    using State = CFPreferencesFileContents::State;
    CFPreferencesFileContents contents;
    fileReads.fetch_add(1, std::memory_order_relaxed);
    RegularFileReading file = ReadRegularFile(path, kMaxFileSize);
    switch (file.state) {
    case RegularFileReading::State::Missing:
        return contents;
    case RegularFileReading::State::Unreadable:
        contents.state = State::Unreadable;
        contents.reason = std::move(file.reason);
        return contents;
    case RegularFileReading::State::Read:
        break;
    }
    contents.bytes = std::move(file.bytes);
    contents.dictionary = ParsePropertyListDictionary(contents.bytes);
    contents.state = contents.dictionary ? State::Parsed : State::Corrupt;
    return contents;
}

long CFPreferencesFileReadCount() {
    return fileReads.load(std::memory_order_relaxed);
}

std::string CFPreferencesResolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        char target[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), target, sizeof target - 1);
        if (length < 0) return current; // not a link (or nothing there): this is the file
        const std::string next(target, static_cast<size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    return path;
}

bool CFPreferencesKeepCorruptCopy(const std::string& path, std::string_view bytes,
                                  std::string* reason) {
    const std::string prefix = NameOf(path) + ".corrupt-";
    if (!WriteFileAtomically(path + ".corrupt-" + timeStamp(), bytes, reason)) return false;
    const std::string folder = FolderOf(path);
    const std::vector<std::string> copies = namesStartingWith(folder, prefix);
    for (size_t i = 0; i + kKeptCorruptCopies < copies.size(); ++i)
        unlink((folder + "/" + copies[i]).c_str());
    return true;
}

std::optional<CFPreferencesLock> CFPreferencesLock::acquire(const std::string& lockPath,
                                                            std::chrono::milliseconds patience,
                                                            std::string* reason) {
    // Never through a link: a planted link must not make us create or lock files elsewhere.
    FileDescriptor fd(
        open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0600));
    if (!fd) {
        FailWithErrno(reason, "cannot open the lock file " + lockPath);
        return std::nullopt;
    }
    // Polling with a deadline rather than a blocking flock: a writer that hangs while holding
    // the lock must not hang every other process too.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::microseconds(50);
    while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            FailWithErrno(reason, "cannot lock " + lockPath);
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            if (reason) *reason = "another process holds " + lockPath + " too long";
            return std::nullopt;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
    return CFPreferencesLock(std::move(fd));
}
