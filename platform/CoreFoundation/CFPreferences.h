// Application preferences shared between processes of the same user: one property-list file
// per application id, read and written by every process that uses that id.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/CFString.h"

// Sets `key` of `applicationID` for this process at once; other processes see it after the
// next CFPreferencesAppSynchronize. A null value removes the key. Values may be booleans,
// texts without zero bytes, or values copied from the preferences; others are not stored.
void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID);

// The value of `key`, or null. The caller releases it. Test its type before use: a stored value
// of another kind comes back as an object of another type (see CFOpaqueValue.h).
CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID);

// Writes this process's changes, merged with what other processes have written, and then sees
// their values too. False when the changes could not be written; they are kept and written by
// the next synchronisation that succeeds.
Boolean CFPreferencesAppSynchronize(CFStringRef applicationID);
