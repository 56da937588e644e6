#include "platform/CoreFoundation/CFPreferencesFile.h"

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
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;
constexpr int kMaxLinkDepth = 40; // as the kernel's own limit on following links

constexpr std::size_t kKeptCorruptCopies = 5;

std::atomic<long> fileReads{0};

// Fills `reason`, if given, with what failed and the C library's text for errno, and gives
// false. Call it at once, before anything else can change errno.
bool fail(std::string* reason, const std::string& what) {
    const int error = errno;
    if (reason) *reason = what + ": " + std::strerror(error);
    return false;
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

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

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool readAll(int fd, std::string& out) {
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got == 0) return true;
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buffer, static_cast<size_t>(got));
        if (out.size() > static_cast<size_t>(kMaxFileSize)) return true; // the caller refuses it
    }
}

bool syncFolder(const std::string& folder, std::string* reason) {
    FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd || fsync(fd.get()) != 0) return fail(reason, "cannot flush the folder " + folder);
    return true;
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

// Removes a temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    void keep() { path_.clear(); }

private:
    std::string path_;
};

} // namespace

CFPreferencesFileContents CFPreferencesReadFile(const std::string& path) {
    using State = CFPreferencesFileContents::State;
    CFPreferencesFileContents contents;
    fileReads.fetch_add(1, std::memory_order_relaxed);
    // Non-blocking, so that a FIFO put at the path cannot hang the open.
    FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!fd) {
        // A folder path blocked by a plain file holds no preferences either.
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        if (!missing) fail(&contents.reason, "cannot open " + path);
        contents.state = missing ? State::Missing : State::Unreadable;
        return contents;
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0) {
        fail(&contents.reason, "cannot read " + path);
        contents.state = State::Unreadable;
        return contents;
    }
    // Looked at before reading, so that a device or a huge file costs nothing; the size is
    // checked again after, for a file that grows while it is read.
    const auto notAFile = [&] {
        contents.reason = path + " is not a regular file of at most 16 MiB";
        contents.state = State::Unreadable;
        return std::move(contents);
    };
    if (!S_ISREG(info.st_mode) || info.st_size > kMaxFileSize) return notAFile();
    const bool read = readAll(fd.get(), contents.bytes);
    if (contents.bytes.size() > static_cast<size_t>(kMaxFileSize)) return notAFile();
    if (!read) {
        fail(&contents.reason, "cannot read " + path);
        contents.state = State::Unreadable;
        return contents;
    }
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
        current = next.front() == '/' ? next : folderOf(current) + "/" + next;
    }
    return path;
}

bool CFPreferencesWriteFileAtomically(const std::string& path, std::string_view bytes,
                                      std::string* reason) {
    const std::string folder = folderOf(path);
    std::string temporaryPath = folder + "/." + nameOf(path) + ".XXXXXX";
    FileDescriptor fd(mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd) return fail(reason, "cannot create a file in " + folder);
    TemporaryFile temporary(temporaryPath);
    if (fchmod(fd.get(), 0600) != 0 || !WriteAll(fd.get(), bytes) || fsync(fd.get()) != 0 ||
        !fd.close())
        return fail(reason, "cannot write " + temporaryPath);
    if (rename(temporaryPath.c_str(), path.c_str()) != 0)
        return fail(reason, "cannot replace " + path);
    temporary.keep();
    // The rename is only durable once the folder's entry is on disk as well.
    return syncFolder(folder, reason);
}

bool CFPreferencesKeepCorruptCopy(const std::string& path, std::string_view bytes,
                                  std::string* reason) {
    const std::string prefix = nameOf(path) + ".corrupt-";
    if (!CFPreferencesWriteFileAtomically(path + ".corrupt-" + timeStamp(), bytes, reason))
        return false;
    const std::string folder = folderOf(path);
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
        fail(reason, "cannot open the lock file " + lockPath);
        return std::nullopt;
    }
    // Polling with a deadline rather than a blocking flock: a writer that hangs while holding
    // the lock must not hang every other process too.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::microseconds(50);
    while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            fail(reason, "cannot lock " + lockPath);
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
