// SPDX-License-Identifier: MIT
// Localized string tables (.strings files holding an XML or binary property list of texts),
// each read once per process and then kept, as the bundles that hold them stay loaded.
#pragma once

#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFString.h"

#include <string>
#include <unordered_map>

using StringTable = std::unordered_map<std::string, CFRef<CFStringRef>>;

// The table in the file at `path`; empty when there is no such file or it holds no dictionary.
// Entries whose value is not a text are left out. Valid until the process ends.
const StringTable& CachedStringTable(const std::string& path);
