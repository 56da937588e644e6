// SPDX-License-Identifier: MIT
// The AppleScript stand-in: scripts are Lua 5.4 texts, run in a sandbox, whose results come
// back as descriptors.
#pragma once

#include "platform/AppleScript/NSAppleEventDescriptor.h"
#include "platform/AppleScript/NSAppleScript.h"
#include "platform/AppleScript/ScriptLimits.h"
