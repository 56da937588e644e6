// SPDX-License-Identifier: MIT
// One application's preferences as this process sees them: the values last read from the file,
// with this process's own changes laid over them until a synchronisation writes them.
#pragma once

#include "platform/CoreFoundation/CFPropertyListNode.h"
#include "platform/CoreFoundation/CFRef.h"

#include <map>
#include <string>

class CFPreferencesDomain {
public:
    explicit CFPreferencesDomain(std::string filePath) : filePath_(std::move(filePath)) {}

    // The value of `key`, or null. Reads the file only the first time the domain is used.
    CFRef<CFPropertyListRef> copy(const std::string& key);
    // Changes the view at once and remembers the change for the next synchronisation; a null
    // value removes the key.
    void set(const std::string& key, CFRef<CFPropertyListRef> value);
    // Writes the pending changes over what the file holds now, then takes the file's values as
    // the view. False when the file could not be read or written; the changes then stay pending
    // and lastError() says why.
    bool synchronize();
    const std::string& lastError() const { return lastError_; }

private:
    void loadOnce();
    bool writePending();
    void adopt(plist_t dictionary);

    const std::string filePath_;
    bool loaded_ = false;
    std::string lastError_;
    std::map<std::string, CFRef<CFPropertyListRef>> values_;
    // This process's changes not yet in the file; a null value is a removal.
    std::map<std::string, CFRef<CFPropertyListRef>> pending_;
};
