// SPDX-License-Identifier: MIT
// Application preferences shared between processes of the same user: one property-list file
// per application id, read and written by every process that uses that id.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/CFString.h"

#include <functional>
#include <string>

// Sets `key` of `applicationID` for this process at once; other processes see it after the
// next CFPreferencesAppSynchronize. A null value removes the key. Values may be booleans,
// texts without zero bytes, or values copied from the preferences; others are not stored.
void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID);

// The value of `key`, or null. The caller releases it. Test its type before use: a stored value
// of another kind comes back as an object of another type (see CFOpaqueValue.h).
CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID);

// Writes this process's changes, merged with what other processes have written, and then sees
// their values too. False when the changes could not be written; they are kept and written by
// the next synchronisation that succeeds. A failure is logged with its reason, and told to the
// failure observer.
Boolean CFPreferencesAppSynchronize(CFStringRef applicationID);

// Our addition, so that a host can tell the user when settings could not be saved even though
// the code that synchronised ignores the result: called on the synchronising thread, after the
// log line, with the application id and the reason. An empty function removes the observer.
using CFPreferencesFailureObserver =
    std::function<void(const std::string& applicationID, const std::string& reason)>;
void CFPreferencesSetFailureObserver(CFPreferencesFailureObserver observer);
