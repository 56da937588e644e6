// SPDX-License-Identifier: MIT
// One fresh Lua 5.4 state for one script run: memory-capped, stopped after an instruction
// budget, and given only the libraries that compute (no files, processes or binary chunks).
// Every Lua call that can raise runs protected, so no Lua error escapes as a long jump.
#pragma once

#include "platform/AppleScript/ScriptLimits.h"

#include <memory>
#include <string>
#include <string_view>

struct lua_State;

class LuaSandbox {
public:
    explicit LuaSandbox(const ScriptLimits& limits);
    ~LuaSandbox();
    LuaSandbox(const LuaSandbox&) = delete;
    LuaSandbox& operator=(const LuaSandbox&) = delete;

    // Compiles `source` as an expression, else as a chunk, and runs it. On success the values
    // it gave back lie on the stack from index 1 on and `resultCount` says how many. On failure
    // `message` says why.
    ScriptFailure run(std::string_view source, int& resultCount, std::string& message);

    // Null when the state could not be made at all. Valid while the sandbox lives.
    lua_State* state() const { return state_.get(); }

    // Shared with the allocator and the instruction hook through the state's allocator data.
    struct Budget {
        ScriptLimits limits;
        std::size_t bytesInUse = 0;
        std::uint64_t instructionsRun = 0;
        bool timedOut = false;
    };

private:
    struct StateCloser {
        void operator()(lua_State* state) const;
    };

    ScriptFailure failureOf(int status, std::string& message);

    Budget budget_; // declared first: the state's allocator uses it until the state is closed
    std::unique_ptr<lua_State, StateCloser> state_;
};
