// SPDX-License-Identifier: MIT
// The CoreFoundation stand-in: reference-counted objects over the C++ library, ICU and libplist.
#pragma once

#include "platform/CoreFoundation/CFBase.h"
#include "platform/CoreFoundation/CFBoolean.h"
#include "platform/CoreFoundation/CFBundle.h"
#include "platform/CoreFoundation/CFDictionary.h"
#include "platform/CoreFoundation/CFNotificationCenter.h"
#include "platform/CoreFoundation/CFOpaqueValue.h"
#include "platform/CoreFoundation/CFPreferences.h"
#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFRunLoop.h"
#include "platform/CoreFoundation/CFString.h"
