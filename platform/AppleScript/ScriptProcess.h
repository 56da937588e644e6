// SPDX-License-Identifier: MIT
// Runs a script in a child process of its own, so that no script can hold its caller longer
// than a fixed time or take more than a fixed amount of memory. The instruction budget of the
// Lua state counts Lua instructions only; work inside a library call (a pattern match that
// backtracks, a string built again and again) is not counted, and only a process can be
// stopped in the middle of it. The child also keeps the caller safe from anything the script
// breaks.
//
// The child runs the script under RLIMIT_CPU (and RLIMIT_AS, except in sanitizer builds, whose
// shadow memory needs terabytes of address space), with /dev/null for its standard streams,
// writes the outcome to a pipe in a small format of its own and ends with _exit. The parent
// reads with a wall-clock deadline, then kills the child if it is still running and always
// reaps it.
#pragma once

#include "platform/AppleScript/NSAppleScript.h"

#include <optional>
#include <string>
#include <string_view>

// Everything a run gives back: the descriptor, or a failure with its message.
struct ScriptOutcome {
    std::optional<NSAppleEventDescriptor> result;
    NSAppleScriptError error;
};

// Runs `source` within `limits` in a child process and gives back what it gave. A child that
// is still running at the deadline gives ScriptFailure::timeLimit; one that dies or returns
// nothing readable gives ScriptFailure::runtime (ScriptFailure::memory when it ran out of its
// address space). Safe to call from any thread of a multi-threaded program.
ScriptOutcome RunScriptInChildProcess(std::string_view source, const ScriptLimits& limits);

// The pipe format, apart from the process handling, for tests. Serialized texts never exceed
// ScriptOutcomeMaxBytes(limits); a text that does not parse, nests too deeply or holds bytes
// beyond its end gives nothing.
std::string SerializeScriptOutcome(const ScriptOutcome& outcome);
std::optional<ScriptOutcome> DeserializeScriptOutcome(std::string_view bytes);
std::size_t ScriptOutcomeMaxBytes(const ScriptLimits& limits);
