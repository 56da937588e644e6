#include "platform/AppleScript/NSAppleScript.h"

#include "platform/AppleScript/LuaResultConverter.h"
#include "platform/AppleScript/LuaSandbox.h"
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
    LuaSandbox sandbox(limits_);
    int resultCount = 0;
    error.failure = sandbox.run(source_, resultCount, error.message);
    if (error.failure != ScriptFailure::none) return std::nullopt;
    if (resultCount == 0) return NSAppleEventDescriptor::nullDescriptor();

    std::optional<NSAppleEventDescriptor> result =
        LuaResultConverter(sandbox.state(), limits_.memoryBytes).convert(1);
    if (!result) {
        error.failure = ScriptFailure::resultTooLarge;
        error.message = "the script's result nests too deeply or is too large to copy";
    }
    return result;
}
