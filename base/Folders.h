// SPDX-License-Identifier: MIT
// Paths and folders: the parts of a path, a private folder made with its parents, and the flush
// of a folder's entries to disk.
#pragma once

#include <string>

// "/a/b" for "/a/b/c", "/" for "/c", "." for "c".
std::string FolderOf(const std::string& path);
// "c" for "/a/b/c".
std::string NameOf(const std::string& path);

// Makes `folder` and every missing parent, each private to the user (mode 0700), as mkdir -p
// would. True when the folder is there in the end; false, with `reason` saying why, when it
// cannot be made or something that is not a folder stands in the way.
bool MakePrivateFolders(const std::string& folder, std::string* reason = nullptr);

// Flushes the folder's entries (a rename into it, say) to disk.
bool SyncFolder(const std::string& folder, std::string* reason = nullptr);
