// SPDX-License-Identifier: MIT
#include "base/AtomicFile.h"

#include "base/ErrnoReason.h"
#include "base/FileDescriptor.h"
#include "base/Folders.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

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

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
    const std::string folder = FolderOf(path);
    std::string temporaryPath = folder + "/." + NameOf(path) + ".XXXXXX";
    FileDescriptor fd(mkostemp(temporaryPath.data(), O_CLOEXEC));
    if (!fd) return FailWithErrno(reason, "cannot create a file in " + folder);
    TemporaryFile temporary(temporaryPath);
    if (fchmod(fd.get(), 0600) != 0 || !WriteAll(fd.get(), bytes) || fsync(fd.get()) != 0 ||
        !fd.close())
        return FailWithErrno(reason, "cannot write " + temporaryPath);
    if (rename(temporaryPath.c_str(), path.c_str()) != 0)
        return FailWithErrno(reason, "cannot replace " + path);
    temporary.keep();
    // The rename is only durable once the folder's entry is on disk as well.
    return SyncFolder(folder, reason);
}
