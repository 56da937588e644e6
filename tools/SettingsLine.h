// The line corvanta-watch prints for the settings, as the menu plug-in reads them.
#pragma once

#include "platform/CoreFoundation/CFBase.h"

#include <string>
#include <string_view>

// One JSON object, {"On":true,"Countries":"Euro,"}; a value that is missing or of the wrong
// type (On must be a boolean, Countries a text) is null.
std::string SettingsLine(CFPropertyListRef on, CFPropertyListRef countries);

// `text` as a JSON string literal, quotes included, with no control left in it (QuotedText).
std::string JsonQuoted(std::string_view text);
