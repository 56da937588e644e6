// SPDX-License-Identifier: MIT
#include "platform/AppleScript/NSAppleScript.h"

#include "platform/AppleScript/ScriptProcess.h"
#include "platform/CoreFoundation/CFRef.h"
#include "platform/CoreFoundation/CFString.h"

#include <new>

std::unique_ptr<NSAppleScript> NSAppleScript::initWithSource(std::string_view source) {
    try {
        // A platform string is always well-formed Unicode; bytes that are not make no script.
        if (!CFRef<CFStringRef>(CFStringCreateWithUTF8(source))) return nullptr;
        return std::unique_ptr<NSAppleScript>(new NSAppleScript(std::string(source)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::optional<NSAppleEventDescriptor>
NSAppleScript::executeAndReturnError(NSAppleScriptError* errorInfo) const noexcept {
    NSAppleScriptError error;
    std::optional<NSAppleEventDescriptor> result;
    try {
        result = execute(error);
    } catch (const std::bad_alloc&) {
        result.reset();
        error.failure = ScriptFailure::memory;
        error.message.clear();
    }
    if (errorInfo) {
        errorInfo->failure = error.failure;
        errorInfo->message.swap(error.message);
    }
    return result;
}

std::optional<NSAppleEventDescriptor> NSAppleScript::execute(NSAppleScriptError& error) const {
    ScriptOutcome outcome = RunScriptInChildProcess(source_, limits_);
    error = std::move(outcome.error);
    return std::move(outcome.result);
}
