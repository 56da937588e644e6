// SPDX-License-Identifier: MIT
// Replacing a file so that readers see either the old contents or the new, never a part.
#pragma once

#include <string>
#include <string_view>

// Replaces the file at `path` with `bytes` in one step, never leaving a partial file: a
// temporary file in the same folder (mode 0600), flushed to disk, renamed over `path`, and the
// folder flushed too. False, with `path` untouched and no temporary file left, when any step
// fails; `reason`, if given, then says which step and why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* reason = nullptr);
