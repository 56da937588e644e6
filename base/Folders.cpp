// SPDX-License-Identifier: MIT
#include "base/Folders.h"

#include "base/ErrnoReason.h"
#include "base/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool makeFolder(const std::string& path, std::string* reason) {
    if (mkdir(path.c_str(), 0700) == 0) return true;
    if (errno == EEXIST) {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0) // a dangling or looping link, say
            return FailWithErrno(reason, "cannot create the folder " + path);
        if (S_ISDIR(info.st_mode)) return true;
        errno = ENOTDIR; // something else stands in the way
    }
    return FailWithErrno(reason, "cannot create the folder " + path);
}

} // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MakePrivateFolders(const std::string& folder, std::string* reason) {
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        if (!makeFolder(folder.substr(0, slash), reason)) return false;
    return makeFolder(folder, reason);
}

bool SyncFolder(const std::string& folder, std::string* reason) {
    FileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd || fsync(fd.get()) != 0)
        return FailWithErrno(reason, "cannot flush the folder " + folder);
    return true;
}
