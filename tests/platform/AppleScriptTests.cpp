// SPDX-License-Identifier: MIT
#include "base/FileDescriptor.h"
#include "platform/AppleScript/AppleScript.h"
#include "platform/AppleScript/ScriptProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct ScriptRun {
    std::optional<NSAppleEventDescriptor> result;
    NSAppleScriptError error;
};

ScriptRun run(std::string_view source, ScriptLimits limits = {}) {
    ScriptRun outcome;
    std::unique_ptr<NSAppleScript> script = NSAppleScript::initWithSource(source);
    if (!script) {
        ADD_FAILURE() << "no script made from: " << source;
        return outcome;
    }
    script->setLimits(limits);
    outcome.result = script->executeAndReturnError(&outcome.error);
    return outcome;
}

ScriptFailure failureOf(std::string_view source, ScriptLimits limits = {}) {
    ScriptRun outcome = run(source, limits);
    EXPECT_FALSE(outcome.result) << source;
    return outcome.error.failure;
}

// The result's type and text form, for compact expectations.
std::pair<DescType, std::optional<std::string>> valueOf(std::string_view source) {
    ScriptRun outcome = run(source);
    EXPECT_TRUE(outcome.result) << source << ": " << outcome.error.message;
    if (!outcome.result) return {0, std::nullopt};
    return {outcome.result->descriptorType(), outcome.result->stringValue()};
}

using Value = std::pair<DescType, std::optional<std::string>>;
const Value kNothing{typeNull, std::nullopt};

} // namespace

TEST(NSAppleScript, ResultsBecomeDescriptors) {
    EXPECT_EQ(valueOf("'caf\xC3\xA9'"), Value(typeUnicodeText, "caf\xC3\xA9"));
    EXPECT_EQ(valueOf("6 * 7"), Value(typeSInt32, "42"));
    EXPECT_EQ(valueOf("2147483648"), Value(typeSInt64, "2147483648"));
    EXPECT_EQ(valueOf("2^31"), Value(typeIEEE64BitFloatingPoint, "2147483648.0"));
    EXPECT_EQ(valueOf("math.mininteger"), Value(typeSInt64, "-9223372036854775808"));
    EXPECT_EQ(valueOf("1 / 4"), Value(typeIEEE64BitFloatingPoint, "0.25"));
    EXPECT_EQ(valueOf("1 / 3"), Value(typeIEEE64BitFloatingPoint, "0.33333333333333"));
    EXPECT_EQ(valueOf("1e300 * 10"), Value(typeIEEE64BitFloatingPoint, "1e+301"));
    // Values without a text form.
    EXPECT_EQ(valueOf("true"), kNothing);
    EXPECT_EQ(valueOf("print"), kNothing);
    EXPECT_EQ(valueOf("{name = 'x'}"), kNothing);
    EXPECT_EQ(valueOf("{1, 2, n = 3}"), kNothing);
    EXPECT_EQ(valueOf("'\\xff'"), kNothing); // bytes that are no Unicode text
}

TEST(NSAppleScript, SequenceTablesBecomeListsCountedFromOne) {
    ScriptRun outcome = run("{'a', 7, {'b'}, false}");
    ASSERT_TRUE(outcome.result);
    const NSAppleEventDescriptor& list = *outcome.result;
    EXPECT_EQ(list.descriptorType(), typeAEList);
    EXPECT_EQ(list.descriptorType(), 0x6C697374u);
    EXPECT_FALSE(list.stringValue());
    ASSERT_EQ(list.numberOfItems(), 4);
    EXPECT_EQ(list.descriptorAtIndex(0), nullptr);
    EXPECT_EQ(list.descriptorAtIndex(5), nullptr);
    EXPECT_EQ(list.descriptorAtIndex(1)->stringValue(), "a");
    EXPECT_EQ(list.descriptorAtIndex(2)->stringValue(), "7");
    const NSAppleEventDescriptor* inner = list.descriptorAtIndex(3);
    ASSERT_EQ(inner->descriptorType(), typeAEList);
    EXPECT_EQ(inner->descriptorAtIndex(1)->stringValue(), "b");
    EXPECT_EQ(list.descriptorAtIndex(4)->descriptorType(), typeNull);

    ScriptRun empty = run("{}");
    ASSERT_TRUE(empty.result);
    EXPECT_EQ(empty.result->descriptorType(), typeAEList);
    EXPECT_EQ(empty.result->numberOfItems(), 0);
}

TEST(NSAppleScript, ReadsAnExpressionElseRunsAChunk) {
    EXPECT_EQ(valueOf("'first', 'second'"), Value(typeUnicodeText, "first"));
    EXPECT_EQ(valueOf("local words = {} for w in ('a b c'):gmatch('%a') do words[#words + 1] = w "
                      "end return table.concat(words, '-')"),
              Value(typeUnicodeText, "a-b-c"));
    // A chunk that gives back nothing, and an empty text, succeed with nothing.
    EXPECT_EQ(valueOf("x = 1"), kNothing);
    EXPECT_EQ(valueOf(""), kNothing);
    // Every run starts afresh: the global of the run before is gone.
    EXPECT_EQ(valueOf("x"), kNothing);
}

TEST(NSAppleScript, FailuresGiveNoResultAndSayWhy) {
    ScriptRun syntax = run("return return");
    EXPECT_FALSE(syntax.result);
    EXPECT_EQ(syntax.error.failure, ScriptFailure::compile);
    EXPECT_NE(syntax.error.message.find("script:1:"), std::string::npos) << syntax.error.message;

    ScriptRun raised = run("error('out of rates')");
    EXPECT_FALSE(raised.result);
    EXPECT_EQ(raised.error.failure, ScriptFailure::runtime);
    EXPECT_NE(raised.error.message.find("out of rates"), std::string::npos);

    EXPECT_EQ(failureOf("error({})"), ScriptFailure::runtime);
    // Runaway recursion, through Lua calls and through C calls, is an error of the script.
    EXPECT_NE(failureOf("local function f() return 1 + f() end return f()"), ScriptFailure::none);
    EXPECT_EQ(failureOf("local function f() assert(pcall(f)) error('deep') end f()"),
              ScriptFailure::runtime);
    EXPECT_EQ(failureOf("nil .. 'x'"), ScriptFailure::runtime);
    // Bytes that are not UTF-8 make no script at all.
    EXPECT_EQ(NSAppleScript::initWithSource("return '\xC3'"), nullptr);
}

TEST(NSAppleScript, EndlessScriptsAreStopped) {
    ScriptLimits quick;
    quick.instructions = 1'000'000;
    EXPECT_EQ(failureOf("while true do end", quick), ScriptFailure::timeLimit);
    // Catching the stop does not keep the script going.
    EXPECT_EQ(failureOf("while true do pcall(function() while true do end end) end", quick),
              ScriptFailure::timeLimit);
    EXPECT_EQ(failureOf("local f = coroutine.wrap(function() while true do end end) f()", quick),
              ScriptFailure::timeLimit);
    EXPECT_EQ(failureOf("while true do coroutine.resume(coroutine.create(function() "
                        "while true do end end)) end",
                        quick),
              ScriptFailure::timeLimit);
    // Within the budget a loop runs to its end.
    EXPECT_EQ(valueOf("local n = 0 for i = 1, 100000 do n = n + i end return n"),
              Value(typeSInt64, "5000050000"));
}

TEST(NSAppleScript, MemoryIsCapped) {
    ScriptLimits small;
    small.memoryBytes = 4u << 20;
    EXPECT_EQ(failureOf("string.rep('x', 1 << 30)", small), ScriptFailure::memory);
    EXPECT_EQ(failureOf("local t = {} for i = 1, 1e8 do t[i] = i end", small),
              ScriptFailure::memory);
    // Caught inside the script, a memory error is just an error the script handled.
    EXPECT_EQ(valueOf("select(2, pcall(string.rep, 'x', 1 << 40)) ~= nil and 'caught'"),
              Value(typeUnicodeText, "caught"));
    // Too little memory even to start gives a failed run, not a crash.
    ScriptLimits none;
    none.memoryBytes = 1;
    EXPECT_EQ(failureOf("1", none), ScriptFailure::memory);
}

TEST(NSAppleScript, ResultsThatCannotBeCopiedFail) {
    EXPECT_EQ(failureOf("local t = {} t[1] = t return t"), ScriptFailure::resultTooLarge);
    // One megabyte shared a hundred times in Lua would take a hundred once copied out.
    ScriptLimits small;
    small.memoryBytes = 8u << 20;
    EXPECT_EQ(failureOf("local s = ('x'):rep(1 << 20) local t = {} "
                        "for i = 1, 100 do t[i] = s end return t",
                        small),
              ScriptFailure::resultTooLarge);
}

// The result bound holds exactly, with the default limits: the texts' bytes and a fixed charge
// for each value, up to resultBytes. A text that size is within what a script can build; one
// of 32 MiB is not, as building it takes twice its size.
TEST(NSAppleScript, ResultsUpToTheBoundArriveWholeAndOneByteMoreFails) {
    const ScriptLimits limits;
    const std::size_t perValue = ScriptLimits::kResultBytesPerValue;
    const std::size_t oneText = limits.resultBytes - perValue;
    const std::size_t eachOfTwo = (limits.resultBytes - 3 * perValue) / 2;
    const auto rep = [](char c, std::size_t n) {
        return "string.rep('" + std::string(1, c) + "', " + std::to_string(n) + ")";
    };
    const auto pair = [&](std::size_t first, std::size_t second) {
        return "{" + rep('a', first) + ", " + rep('b', second) + "}";
    };
    const struct {
        std::string source;
        std::size_t length; // of all its texts together
        ScriptFailure failure;
    } cases[] = {
        {rep('x', oneText), oneText, ScriptFailure::none},
        {rep('x', oneText + 1), oneText + 1, ScriptFailure::resultTooLarge},
        {pair(eachOfTwo, eachOfTwo), 2 * eachOfTwo, ScriptFailure::none},
        {pair(eachOfTwo, eachOfTwo + 1), 2 * eachOfTwo + 1, ScriptFailure::resultTooLarge},
        {rep('x', 32u << 20), 32u << 20, ScriptFailure::memory},
    };
    for (const auto& c : cases) {
        const ScriptRun outcome = run(c.source, limits);
        EXPECT_EQ(outcome.error.failure, c.failure) << c.length << ": " << outcome.error.message;
        if (c.failure != ScriptFailure::none) {
            EXPECT_FALSE(outcome.result) << c.length;
            continue;
        }
        ASSERT_TRUE(outcome.result) << c.length;
        std::size_t length = 0;
        if (outcome.result->descriptorType() == typeAEList)
            for (long i = 1; i <= outcome.result->numberOfItems(); ++i)
                length += outcome.result->descriptorAtIndex(i)->stringValue()->size();
        else
            length = outcome.result->stringValue()->size();
        EXPECT_EQ(length, c.length);
    }
}

TEST(NSAppleScript, ScriptsOnlyCompute) {
    EXPECT_EQ(valueOf("io"), kNothing);
    EXPECT_EQ(valueOf("os"), kNothing);
    EXPECT_EQ(valueOf("require"), kNothing);
    EXPECT_EQ(valueOf("dofile"), kNothing);
    EXPECT_EQ(valueOf("debug"), kNothing);
    // Binary chunks are refused; text chunks still load, with or without an environment.
    EXPECT_EQ(valueOf("select(2, load(string.dump(function() return 1 end)))"),
              Value(typeUnicodeText, "attempt to load a binary chunk (mode is 't')"));
    EXPECT_EQ(valueOf("load('return 40 + 2')()"), Value(typeSInt32, "42"));
    EXPECT_EQ(valueOf("load('return n', 'chunk', 'b', {n = 5})()"), Value(typeSInt32, "5"));
    EXPECT_EQ(failureOf("setmetatable({}, {__gc = function() while true do end end})"),
              ScriptFailure::runtime);
    EXPECT_EQ(valueOf("getmetatable(setmetatable({}, {__index = {k = 'v'}})).__index.k"),
              Value(typeUnicodeText, "v"));
}

namespace {

// Work inside library calls, which the instruction budget does not count.
const char* const kBacktrackingMatch = "string.find(string.rep('a',24), string.rep('a*',12)..'b')";
const char* const kRepeatedHugeStrings = "for i=1,300 do local s=string.rep('x',3e7) end";

} // namespace

// Each hostile script alone: the run must come back, failed, within the wall-clock bound.
TEST(NSAppleScript, ABacktrackingMatchIsStoppedAtTheDeadline) {
    ScriptLimits limits;
    limits.wallClock = std::chrono::milliseconds(1000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(failureOf(kBacktrackingMatch, limits), ScriptFailure::timeLimit);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
}

TEST(NSAppleScript, RepeatedHugeStringsAreStoppedAtTheDeadline) {
    ScriptLimits limits;
    limits.wallClock = std::chrono::milliseconds(1000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(failureOf(kRepeatedHugeStrings, limits), ScriptFailure::timeLimit);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
}

namespace {

// The process ids of this process's children, from /proc.
std::vector<pid_t> childrenOfThisProcess() {
    std::vector<pid_t> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(line.substr(close + 2));
        char state = 0;
        pid_t parent = 0;
        if (fields >> state >> parent && parent == getpid())
            children.push_back(static_cast<pid_t>(std::stoi(entry.path().filename().string())));
    }
    return children;
}

void ignoreSignal(int) {}

} // namespace

// The script's process keeps nothing of ours but its pipe: another thread's open descriptors
// (a second script's pipe, the preferences' lock) would stay held for as long as the script
// runs, and our signal handlers are not the script's.
TEST(NSAppleScript, TheScriptProcessHoldsNoneOfOurDescriptorsOrHandlers) {
    const FileDescriptor ours(eventfd(0, EFD_CLOEXEC));
    struct sigaction handler = {}, previous = {};
    handler.sa_handler = ignoreSignal;
    sigaction(SIGINT, &handler, &previous);
    ScriptLimits limits;
    limits.wallClock = std::chrono::milliseconds(1500);
    std::thread longScript([&] { failureOf(kBacktrackingMatch, limits); });

    std::vector<pid_t> children;
    for (int i = 0; i < 200 && children.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        children = childrenOfThisProcess();
    }
    ASSERT_EQ(children.size(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // past its set-up, into the script
    const std::string proc = "/proc/" + std::to_string(children[0]);
    for (const auto& fd : std::filesystem::directory_iterator(proc + "/fd")) {
        EXPECT_LE(std::stoi(fd.path().filename().string()), 3)
            << "only the standard three and the pipe";
        EXPECT_NE(std::filesystem::read_symlink(fd.path()).string(), "anon_inode:[eventfd]");
    }
    std::ifstream status(proc + "/status");
    std::string caught;
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("SigCgt:")) caught = line.substr(7);
    EXPECT_EQ(std::stoull(caught, nullptr, 16) & (1ull << (SIGINT - 1)), 0u) << caught;

    longScript.join();
    sigaction(SIGINT, &previous, nullptr);
}

namespace {

// While it lives, this process's standard output and error go into a pipe that a thread
// drains, counting the bytes that reach it.
class CapturedStandardStreams {
public:
    CapturedStandardStreams() {
        std::fflush(stdout);
        std::fflush(stderr);
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
        const FileDescriptor read(fds[0]), write(fds[1]);
        drain_ = std::thread([fd = dup(read.get()), this] {
            char buffer[65536];
            ssize_t got;
            while ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
                if (got > 0) bytes_ += static_cast<std::size_t>(got);
            ::close(fd);
        });
        savedOut_.reset(dup(STDOUT_FILENO));
        savedError_.reset(dup(STDERR_FILENO));
        dup2(write.get(), STDOUT_FILENO);
        dup2(write.get(), STDERR_FILENO);
    }
    ~CapturedStandardStreams() { restore(); }
    CapturedStandardStreams(const CapturedStandardStreams&) = delete;
    CapturedStandardStreams& operator=(const CapturedStandardStreams&) = delete;

    // Puts the streams back and gives the number of bytes written to them meanwhile.
    std::size_t restore() {
        if (!savedOut_) return bytes_;
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(savedOut_.get(), STDOUT_FILENO);
        dup2(savedError_.get(), STDERR_FILENO);
        savedOut_.reset();
        savedError_.reset();
        drain_.join(); // its pipe's last write end has closed
        return bytes_;
    }

private:
    FileDescriptor savedOut_, savedError_;
    std::size_t bytes_ = 0;
    std::thread drain_;
};

} // namespace

// A script's output reaches nobody: not the host's terminal or log, and not a pipe that would
// stall the script once full. The run still gives its result, or fails cleanly at the deadline.
TEST(NSAppleScript, WhatAScriptPrintsGoesNowhere) {
    ScriptLimits limits;
    limits.wallClock = std::chrono::milliseconds(1500);
    ScriptRun finished, endless;
    std::size_t printed = 0;
    {
        CapturedStandardStreams captured;
        finished = run("for i = 1, 20 do print(string.rep('x', 1e6)) end return 'done'", limits);
        endless = run("while true do print(string.rep('x', 1e6)) end", limits);
        printed = captured.restore();
    }
    EXPECT_EQ(printed, 0u);
    ASSERT_TRUE(finished.result) << finished.error.message;
    EXPECT_EQ(finished.result->stringValue(), "done");
    EXPECT_FALSE(endless.result);
    EXPECT_EQ(endless.error.failure, ScriptFailure::timeLimit);
}

TEST(ScriptOutcome, TravelsOverThePipeAndRefusesDamagedFrames) {
    ScriptOutcome outcome;
    outcome.result = NSAppleEventDescriptor::listDescriptor(
        {NSAppleEventDescriptor::descriptorWithString(std::string("a\0b", 3)),
         NSAppleEventDescriptor::descriptorWithNumber(typeSInt64, "5000050000"),
         NSAppleEventDescriptor::listDescriptor({NSAppleEventDescriptor::nullDescriptor()})});
    const std::string bytes = SerializeScriptOutcome(outcome);
    const std::optional<ScriptOutcome> back = DeserializeScriptOutcome(bytes);
    ASSERT_TRUE(back && back->result);
    EXPECT_EQ(SerializeScriptOutcome(*back), bytes);
    EXPECT_EQ(back->result->descriptorAtIndex(1)->stringValue(), std::string("a\0b", 3));

    for (std::size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(DeserializeScriptOutcome(bytes.substr(0, cut))) << cut;
    EXPECT_FALSE(DeserializeScriptOutcome(bytes + "x")) << "bytes beyond the end";

    ScriptOutcome failure;
    failure.error = {ScriptFailure::runtime, "out of rates"};
    const std::optional<ScriptOutcome> failed =
        DeserializeScriptOutcome(SerializeScriptOutcome(failure));
    ASSERT_TRUE(failed);
    EXPECT_FALSE(failed->result);
    EXPECT_EQ(failed->error.failure, ScriptFailure::runtime);
    EXPECT_EQ(failed->error.message, "out of rates");

    // A list nested deeper than any result may be, and a count that promises too much.
    NSAppleEventDescriptor deep = NSAppleEventDescriptor::nullDescriptor();
    for (int i = 0; i < 200; ++i)
        deep = NSAppleEventDescriptor::listDescriptor({deep});
    outcome.result = deep;
    EXPECT_FALSE(DeserializeScriptOutcome(SerializeScriptOutcome(outcome)));
    std::string lying = SerializeScriptOutcome(failure);
    lying.back() = '\1';
    lying += std::string("tsil", 4) + '\0' + std::string("\xff\xff\xff\xff\0\0\0\0", 8);
    EXPECT_FALSE(DeserializeScriptOutcome(lying));
}
