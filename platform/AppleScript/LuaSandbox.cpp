// SPDX-License-Identifier: MIT
#include "platform/AppleScript/LuaSandbox.h"

#include <cstdlib>

#include <lua5.4/lauxlib.h>
#include <lua5.4/lua.h>
#include <lua5.4/lualib.h>

// Lua is built as C here: its errors are long jumps. The functions below that Lua calls (the
// allocator, the hook and the library functions) therefore keep no C++ objects with destructors.

namespace {

// How often the hook looks at the budget, in instructions.
constexpr int kHookInterval = 1000;

LuaSandbox::Budget& budgetOf(lua_State* L) {
    void* data = nullptr;
    lua_getallocf(L, &data);
    return *static_cast<LuaSandbox::Budget*>(data);
}

// The C library's allocator, refusing to grow past the memory limit; Lua turns the refusal
// into a memory error of the script.
void* cappedAllocate(void* data, void* block, size_t oldSize, size_t newSize) {
    auto& budget = *static_cast<LuaSandbox::Budget*>(data);
    if (!block) oldSize = 0; // then it tells the kind of object, not a size
    if (newSize == 0) {
        std::free(block);
        budget.bytesInUse -= oldSize;
        return nullptr;
    }
    if (newSize > oldSize && newSize - oldSize > budget.limits.memoryBytes - budget.bytesInUse)
        return nullptr;
    void* moved = std::realloc(block, newSize);
    if (moved) budget.bytesInUse = budget.bytesInUse - oldSize + newSize;
    return moved;
}

// Stops the script once its instructions are spent. From then on the hook fires at every
// instruction of every coroutine, so a script that catches the error with pcall is stopped
// again at its next instruction outside the pcall.
void instructionHook(lua_State* L, lua_Debug*) {
    LuaSandbox::Budget& budget = budgetOf(L);
    budget.instructionsRun += static_cast<std::uint64_t>(lua_gethookcount(L));
    if (budget.instructionsRun <= budget.limits.instructions) return;
    budget.timedOut = true;
    lua_sethook(L, instructionHook, LUA_MASKCOUNT, 1);
    luaL_error(L, "script stopped: it ran too long");
}

// load() for texts only: binary chunks are not verified by Lua and could corrupt memory.
int loadTextOnly(lua_State* L) {
    int arguments = lua_gettop(L);
    lua_settop(L, arguments < 3 ? 3 : arguments); // keeps an absent environment absent
    lua_pushliteral(L, "t");
    lua_replace(L, 3);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// setmetatable() without finalizers: Lua runs __gc with hooks off, also while the state is
// closed, so an endless finalizer could not be stopped.
int setmetatableWithoutFinalizer(lua_State* L) {
    if (lua_type(L, 2) == LUA_TTABLE) {
        lua_pushliteral(L, "__gc");
        if (lua_rawget(L, 2) != LUA_TNIL) return luaL_error(L, "scripts cannot set finalizers");
        lua_pop(L, 1);
    }
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, 1);
    return 1;
}

// Replaces the global `name` by `wrapper`, which gets the original as its upvalue.
void wrapGlobal(lua_State* L, const char* name, lua_CFunction wrapper) {
    lua_getglobal(L, name);
    lua_pushcclosure(L, wrapper, 1);
    lua_setglobal(L, name);
}

// Runs protected. The libraries that only compute; no io, os, package or debug.
int openSandboxLibraries(lua_State* L) {
    static const luaL_Reg libraries[] = {
        {LUA_GNAME, luaopen_base},       {LUA_COLIBNAME, luaopen_coroutine},
        {LUA_TABLIBNAME, luaopen_table}, {LUA_STRLIBNAME, luaopen_string},
        {LUA_MATHLIBNAME, luaopen_math}, {LUA_UTF8LIBNAME, luaopen_utf8},
    };
    for (const luaL_Reg& library : libraries) {
        luaL_requiref(L, library.name, library.func, 1);
        lua_pop(L, 1);
    }
    // Both read files.
    lua_pushnil(L);
    lua_setglobal(L, "dofile");
    lua_pushnil(L);
    lua_setglobal(L, "loadfile");
    wrapGlobal(L, "load", loadTextOnly);
    wrapGlobal(L, "setmetatable", setmetatableWithoutFinalizer);
    return 0;
}

} // namespace

void LuaSandbox::StateCloser::operator()(lua_State* state) const {
    lua_close(state);
}

LuaSandbox::LuaSandbox(const ScriptLimits& limits) {
    budget_.limits = limits;
    state_.reset(lua_newstate(cappedAllocate, &budget_));
}

LuaSandbox::~LuaSandbox() = default;

ScriptFailure LuaSandbox::failureOf(int status, std::string& message) {
    lua_State* L = state_.get();
    // Only a text is read: converting another value could itself raise outside protection.
    if (lua_gettop(L) > 0 && lua_type(L, -1) == LUA_TSTRING) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        message.assign(text, length);
    } else {
        message = "the script raised an error that is not a text";
    }
    if (budget_.timedOut) return ScriptFailure::timeLimit;
    if (status == LUA_ERRMEM) return ScriptFailure::memory;
    return ScriptFailure::runtime;
}

ScriptFailure LuaSandbox::run(std::string_view source, int& resultCount, std::string& message) {
    resultCount = 0;
    lua_State* L = state_.get();
    if (!L) {
        message = "not enough memory to start the script";
        return ScriptFailure::memory;
    }
    lua_pushcfunction(L, openSandboxLibraries);
    if (int status = lua_pcall(L, 0, 0, 0); status != LUA_OK) return failureOf(status, message);

    // As an expression first, the way an interactive Lua prompt reads a line.
    const std::string expression = "return " + std::string(source);
    int status = luaL_loadbufferx(L, expression.data(), expression.size(), "=script", "t");
    if (status == LUA_ERRSYNTAX) {
        lua_pop(L, 1);
        status = luaL_loadbufferx(L, source.data(), source.size(), "=script", "t");
        if (status == LUA_ERRSYNTAX) {
            failureOf(status, message);
            return ScriptFailure::compile;
        }
    }
    if (status != LUA_OK) return failureOf(status, message);

    lua_sethook(L, instructionHook, LUA_MASKCOUNT, kHookInterval);
    status = lua_pcall(L, 0, LUA_MULTRET, 0);
    lua_sethook(L, nullptr, 0, 0);
    if (status != LUA_OK) return failureOf(status, message);
    resultCount = lua_gettop(L);
    return ScriptFailure::none;
}
