// The toolkit's operations on platform strings. Texts are UTF-8; the receiver comes first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace NSStringExtensions {

// Runs `source` as a script (a Lua 5.4 text, see platform/AppleScript) and gives back its
// result as text: a text or a number as it reads, the first item of a list. nullopt when the
// script is empty, does not compile, fails, gives back nothing or a value without a text form.
// Never throws.
std::optional<std::string> runScript(std::string_view source);

// A copy of `text` with every "/" and ":" turned into "-", fit for a file name.
std::string cleanForFilename(std::string_view text);

} // namespace NSStringExtensions
