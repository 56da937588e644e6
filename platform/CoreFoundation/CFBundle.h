// SPDX-License-Identifier: MIT
// Bundles: a folder Name.prefPane/Contents/ holding Info.plist, Linux/<library>.so and
// Resources/. A bundle opened in this process stays loaded until the process ends, so it can be
// found again by its identifier.
#pragma once

#include "platform/CoreFoundation/CFString.h"

#include <optional>
#include <string>
#include <string_view>

typedef struct __CFBundle* CFBundleRef;

CFTypeID CFBundleGetTypeID();

// Our addition in place of CFURL: opens the bundle whose top folder is `path` (the
// Name.prefPane folder). Null when it has no Contents/Info.plist holding a dictionary. Opening
// the same folder twice gives the same bundle. The caller releases the reference it gets.
CFBundleRef CFBundleCreateWithPath(std::string_view path);

// The bundle with this identifier among those opened in this process, or null. Finding a bundle
// that is not open yet is the caller's business (see host/PaneSearchPath.h). Not owned by the
// caller.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);

// The bundle's CFBundleIdentifier, or null. Not owned by the caller.
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);

// The value of an Info.plist key, or null. Texts are CFStrings; values of other types are not
// modelled and give null. Not owned by the caller.
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);

// Our addition: the text of an Info.plist key as UTF-8, or nothing when the key is missing.
std::optional<std::string> CFBundleGetInfoString(CFBundleRef bundle, CFStringRef key);

// Our additions: the bundle's folders and files as paths.
std::string CFBundleGetBundlePath(CFBundleRef bundle);    // .../Name.prefPane
std::string CFBundleGetResourcesPath(CFBundleRef bundle); // .../Contents/Resources
// .../Contents/Linux/<CFBundleExecutable>, or "" when Info.plist names no executable.
std::string CFBundleGetExecutablePath(CFBundleRef bundle);
// The path of Resources/<name>, or "" when no such file exists.
std::string CFBundleGetResourcePath(CFBundleRef bundle, std::string_view name);

// The text of `key` in the bundle's string table `tableName` ("Localizable" when null): the file
// Resources/<language>.lproj/<tableName>.strings, a property list of texts, tried for each of
// the user's languages in turn (see base/UserLanguages.h), English last. When no table has the
// key: `value` if it is a non-empty text, else `key`; null only when both are null. Tables are
// read once and kept. The caller releases the result.
CFStringRef CFBundleCopyLocalizedString(CFBundleRef bundle, CFStringRef key, CFStringRef value,
                                        CFStringRef tableName);
