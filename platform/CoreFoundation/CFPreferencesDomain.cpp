// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CFPreferencesDomain.h"

#include "base/AtomicFile.h"
#include "platform/CoreFoundation/CFPreferencesFile.h"
#include "platform/CoreFoundation/CFPreferencesLocation.h"
#include "platform/CoreFoundation/PropertyListFile.h"

#include <chrono>

namespace {

using State = CFPreferencesFileContents::State;

// Long enough for any sane writer to finish, short enough that a stuck one cannot hang us.
constexpr std::chrono::milliseconds kLockPatience(5000);

} // namespace

CFRef<CFPropertyListRef> CFPreferencesDomain::copy(const std::string& key) {
    loadOnce();
    auto found = values_.find(key);
    return found == values_.end() ? CFRef<CFPropertyListRef>() : found->second;
}

void CFPreferencesDomain::set(const std::string& key, CFRef<CFPropertyListRef> value) {
    loadOnce();
    if (value)
        values_[key] = value;
    else
        values_.erase(key);
    pending_[key] = std::move(value);
}

bool CFPreferencesDomain::synchronize() {
    if (!pending_.empty()) return writePending();
    // Nothing of ours to write, so no lock is needed: writers replace the file in one rename,
    // and a reader always sees a whole file, old or new.
    CFPreferencesFileContents contents = CFPreferencesReadFile(filePath_);
    if (contents.state == State::Unreadable) {
        lastError_ = contents.reason;
        return false;
    }
    loaded_ = true;
    adopt(contents.dictionary.get());
    return true;
}

void CFPreferencesDomain::loadOnce() {
    if (loaded_) return;
    loaded_ = true;
    CFPreferencesFileContents contents = CFPreferencesReadFile(filePath_);
    adopt(contents.dictionary.get());
}

bool CFPreferencesDomain::writePending() {
    if (!CFPreferencesCreateFolder(&lastError_)) return false;
    auto lock = CFPreferencesLock::acquire(filePath_ + ".lock", kLockPatience, &lastError_);
    if (!lock) return false;

    const std::string target = CFPreferencesResolveLinks(filePath_);
    CFPreferencesFileContents contents = CFPreferencesReadFile(target);
    switch (contents.state) {
    case State::Unreadable:
        lastError_ = contents.reason;
        return false;
    case State::Corrupt:
        // Never overwrite what we cannot read without keeping it: someone may want it back.
        if (!CFPreferencesKeepCorruptCopy(target, contents.bytes, &lastError_)) return false;
        [[fallthrough]];
    case State::Missing:
        contents.dictionary.reset(plist_new_dict());
        break;
    case State::Parsed:
        break;
    }

    plist_t dictionary = contents.dictionary.get();
    for (const auto& [key, value] : pending_) {
        if (PlistPtr node = CFPropertyListCreateNode(value.get()))
            plist_dict_set_item(dictionary, key.c_str(), node.release());
        else
            plist_dict_remove_item(dictionary, key.c_str());
    }
    if (!WriteFileAtomically(target, CFPropertyListNodeXml(dictionary), &lastError_)) return false;
    pending_.clear();
    adopt(dictionary);
    return true;
}

void CFPreferencesDomain::adopt(plist_t dictionary) {
    values_.clear();
    PlistDictionaryForEach(dictionary, [this](const char* key, plist_t node) {
        values_[key] = CFRef<CFPropertyListRef>(CFPropertyListCreateFromNode(node));
    });
    // Our own changes not yet written still show through.
    for (const auto& [key, value] : pending_) {
        if (value)
            values_[key] = value;
        else
            values_.erase(key);
    }
}
