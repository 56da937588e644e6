#include "platform/CoreFoundation/CFPreferencesFile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Far beyond any real preference file; a bigger one is left alone rather than loaded.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;
constexpr int kMaxLinkDepth = 40; // as the kernel's own limit on following links

std::atomic<long> fileReads{0};

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
        if (out.size() > static_cast<size_t>(kMaxFileSize)) return false;
    }
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return true;
}

bool syncFolder(const std::string& folder) {
    FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd && fsync(fd.get()) == 0;
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
        contents.state = (errno == ENOENT || errno == ENOTDIR) ? State::Missing : State::Unreadable;
        return contents;
    }
    struct stat info {};
    if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize ||
        !readAll(fd.get(), contents.bytes)) {
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

bool CFPreferencesWriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string folder = folderOf(path);
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporaryPath = folder + "/." + name + ".XXXXXX";
    FileDescriptor fd(mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd) return false;
    TemporaryFile temporary(temporaryPath);
    if (fchmod(fd.get(), 0600) != 0 || !writeAll(fd.get(), bytes) || fsync(fd.get()) != 0 ||
        !fd.close())
        return false;
    if (rename(temporaryPath.c_str(), path.c_str()) != 0) return false;
    temporary.keep();
    // The rename is only durable once the folder's entry is on disk as well.
    return syncFolder(folder);
}

std::optional<CFPreferencesLock> CFPreferencesLock::acquire(const std::string& lockPath,
                                                            std::chrono::milliseconds patience) {
    FileDescriptor fd(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600));
    if (!fd) return std::nullopt;
    // Polling with a deadline rather than a blocking flock: a writer that hangs while holding
    // the lock must not hang every other process too.
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::microseconds(50);
    while (flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) ||
            std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
    return CFPreferencesLock(std::move(fd));
}
