// SPDX-License-Identifier: MIT
// How far a script may go before it is stopped, and why a run failed.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

struct ScriptLimits {
    // Lua virtual machine instructions, counted across all of the script's coroutines. About a
    // second of work: enough for any text helper, and an endless loop cannot hang the caller.
    std::uint64_t instructions = 100'000'000;
    // Bytes the Lua state may hold at once.
    std::size_t memoryBytes = 64u << 20;
    // The size of the result handed back: the bytes of its texts, and kResultBytesPerValue more
    // for each value in it (a text, a number, a list or nothing). A quarter of the memory: a
    // text takes about twice its size while a script builds it, and the script may hold more.
    std::size_t resultBytes = 16u << 20;
    static constexpr std::size_t kResultBytesPerValue = 64;
    // Wall-clock time a run may take in all, library calls included: the script runs in a
    // process of its own that is killed at this deadline (and limited to as many seconds of
    // processor time, rounded up, plus one).
    std::chrono::milliseconds wallClock{3000};
};

enum class ScriptFailure {
    none,
    compile,        // the source is neither an expression nor a chunk
    runtime,        // the script raised an error
    memory,         // the script needed more than ScriptLimits::memoryBytes
    timeLimit,      // the script ran more than ScriptLimits::instructions or wallClock
    resultTooLarge, // the result nests too deeply, loops back on itself or exceeds resultBytes
};
