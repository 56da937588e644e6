// SPDX-License-Identifier: MIT
// The one place that makes untrusted text safe to show: in the log, on a terminal, in JSON and
// in a widget. Besides the C0 controls and DEL it treats as controls the C1 controls
// (U+0080-U+009F) and the invisible marks that reorder or break what a reader sees: the
// bidirectional embeddings, overrides and isolates (U+202A-U+202E, U+2066-U+2069), the
// directional marks (U+200E, U+200F, U+061C) and the line and paragraph separators (U+2028,
// U+2029). Bytes that are not valid UTF-8 become U+FFFD.
#pragma once

#include <string>
#include <string_view>

// A double-quoted literal, valid as JSON: `"` and `\` escaped with a backslash, \n, \r and \t
// as such, every other control as \uXXXX. It holds no control and stays on one line.
std::string QuotedText(std::string_view utf8);

// The text with each control replaced by a visible stand-in, for a widget or a table: C0
// controls and DEL by their pictures (U+2400-U+2421, "␛" for ESC), the others by their code
// point in angle brackets ("<U+202E>"). Everything else is kept as it is.
std::string VisibleText(std::string_view utf8);

// True when `utf8` holds a C0 control, DEL or a C1 control (the marks above do not count).
bool ContainsControlCharacter(std::string_view utf8);
