// SPDX-License-Identifier: MIT
// The line corvanta-watch prints for the settings, as the menu plug-in reads them.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

#include <string>

// One JSON object, {"On":true,"Countries":"Euro,"}; a value that is missing or of the wrong
// type (On must be a boolean, Countries a text) is null.
std::string SettingsLine(CFPropertyListRef on, CFPropertyListRef countries);
