// SPDX-License-Identifier: MIT
// A script made from a text and run on demand. Scripts are Lua 5.4: the text is read as an
// expression if it is one, else run as a chunk, and its first value becomes the result.
#pragma once

#include "platform/AppleScript/NSAppleEventDescriptor.h"
#include "platform/AppleScript/ScriptLimits.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// What executeAndReturnError tells about a failed run.
struct NSAppleScriptError {
    ScriptFailure failure = ScriptFailure::none;
    std::string message;
};

class NSAppleScript {
public:
    // A script holding `source`; null when the text is not valid UTF-8 (a platform string
    // could not hold it) or there is no memory for it. The caller owns the script.
    static std::unique_ptr<NSAppleScript> initWithSource(std::string_view source);

    const std::string& source() const { return source_; }

    // Our addition: the budget of each later run.
    void setLimits(const ScriptLimits& limits) { limits_ = limits; }
    const ScriptLimits& limits() const { return limits_; }

    // Compiles and runs the script in a fresh Lua state in a child process of its own (see
    // ScriptProcess.h), so that it returns within the limits' wall-clock time whatever the
    // script does.
    // The result's descriptor; typeNull when the script gave back nothing. nullopt when the
    // run failed, and then `errorInfo`, if given, says why. Never throws.
    std::optional<NSAppleEventDescriptor>
    executeAndReturnError(NSAppleScriptError* errorInfo = nullptr) const noexcept;

private:
    explicit NSAppleScript(std::string source) : source_(std::move(source)) {}

    std::optional<NSAppleEventDescriptor> execute(NSAppleScriptError& error) const;

    std::string source_;
    ScriptLimits limits_;
};
