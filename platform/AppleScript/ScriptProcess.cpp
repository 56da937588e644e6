// SPDX-License-Identifier: MIT
#include "platform/AppleScript/ScriptProcess.h"

#include "base/FileDescriptor.h"
#include "platform/AppleScript/LuaResultConverter.h"
#include "platform/AppleScript/LuaSandbox.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define CORVANTA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANTA_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

// The failure message the child sends is cut to this; a script can raise a text of any size.
constexpr std::size_t kMaxMessageBytes = 4096;
// Room for the header and the message beside the result's own bound.
constexpr std::size_t kFrameBytes = 2 * kMaxMessageBytes;
// Deeper than the converter lets a result nest.
constexpr int kMaxListDepth = 128;
// Address space the child may use beyond what it shares with its parent at the fork.
constexpr std::size_t kAddressSpaceHeadroom = 256u << 20;

// --- The pipe format: little-endian integers, lengths before bytes. ---
//   outcome    := u8 failure, u32 message length, message, u8 has result, [descriptor]
//   descriptor := u32 type, u8 has text, [u64 length, text], u64 item count, descriptor*

void putInteger(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

void putDescriptor(std::string& out, const NSAppleEventDescriptor& descriptor) {
    putInteger(out, descriptor.descriptorType(), 4);
    const std::optional<std::string>& text = descriptor.stringValue();
    putInteger(out, text ? 1 : 0, 1);
    if (text) {
        putInteger(out, text->size(), 8);
        out += *text;
    }
    putInteger(out, static_cast<std::uint64_t>(descriptor.numberOfItems()), 8);
    for (long i = 1; i <= descriptor.numberOfItems(); ++i)
        putDescriptor(out, *descriptor.descriptorAtIndex(i));
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<std::uint64_t> integer(int width) {
        if (bytes_.size() < static_cast<std::size_t>(width)) return std::nullopt;
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i)
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[i])} << (8 * i);
        bytes_.remove_prefix(static_cast<std::size_t>(width));
        return value;
    }
    std::optional<std::string> text(std::uint64_t length) {
        if (bytes_.size() < length) return std::nullopt;
        std::string taken(bytes_.substr(0, static_cast<std::size_t>(length)));
        bytes_.remove_prefix(static_cast<std::size_t>(length));
        return taken;
    }
    std::size_t left() const { return bytes_.size(); }

    std::optional<NSAppleEventDescriptor> descriptor(int depth) {
        if (depth > kMaxListDepth) return std::nullopt;
        const auto type = integer(4);
        const auto hasText = integer(1);
        if (!type || !hasText || *hasText > 1) return std::nullopt;
        std::optional<std::string> value;
        if (*hasText) {
            const auto length = integer(8);
            if (!length || !(value = text(*length))) return std::nullopt;
        }
        const auto count = integer(8);
        // Every item takes at least 13 bytes, so a count beyond what is left is a lie.
        if (!count || *count > left() / 13) return std::nullopt;
        switch (static_cast<DescType>(*type)) {
        case typeNull:
            if (value || *count) return std::nullopt;
            return NSAppleEventDescriptor::nullDescriptor();
        case typeUnicodeText:
            if (!value || *count) return std::nullopt;
            return NSAppleEventDescriptor::descriptorWithString(std::move(*value));
        case typeSInt32:
        case typeSInt64:
        case typeIEEE64BitFloatingPoint:
            if (!value || *count) return std::nullopt;
            return NSAppleEventDescriptor::descriptorWithNumber(static_cast<DescType>(*type),
                                                                std::move(*value));
        case typeAEList: {
            if (value) return std::nullopt;
            std::vector<NSAppleEventDescriptor> items;
            items.reserve(static_cast<std::size_t>(*count));
            for (std::uint64_t i = 0; i < *count; ++i) {
                std::optional<NSAppleEventDescriptor> item = descriptor(depth + 1);
                if (!item) return std::nullopt;
                items.push_back(std::move(*item));
            }
            return NSAppleEventDescriptor::listDescriptor(std::move(items));
        }
        default:
            return std::nullopt;
        }
    }

private:
    std::string_view bytes_;
};

// --- The child. ---

ScriptOutcome runHere(std::string_view source, const ScriptLimits& limits) {
    ScriptOutcome outcome;
    LuaSandbox sandbox(limits);
    int resultCount = 0;
    outcome.error.failure = sandbox.run(source, resultCount, outcome.error.message);
    if (outcome.error.failure != ScriptFailure::none) return outcome;
    if (resultCount == 0) {
        outcome.result = NSAppleEventDescriptor::nullDescriptor();
        return outcome;
    }
    outcome.result =
        LuaResultConverter(sandbox.state(), limits.resultBytes, ScriptLimits::kResultBytesPerValue)
            .convert(1);
    if (!outcome.result) {
        outcome.error.failure = ScriptFailure::resultTooLarge;
        outcome.error.message = "the script's result nests too deeply or is too large";
    }
    return outcome;
}

// The child's address space at the fork, from /proc; 0 when it cannot be read.
std::size_t addressSpaceInUse() {
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    unsigned long pages = 0;
    const int read = std::fscanf(statm, "%lu", &pages);
    std::fclose(statm);
    return read == 1 ? pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

void setLimit(int resource, rlim_t value) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0) return;
    if (limit.rlim_max != RLIM_INFINITY && limit.rlim_max < value) value = limit.rlim_max;
    limit.rlim_cur = value;
    setrlimit(resource, &limit);
}

// The child's one descriptor besides the standard three.
constexpr int kChildPipe = 3;

[[noreturn]] void runChild(int out, std::string_view source, const ScriptLimits& limits,
                           std::size_t addressSpace, long cpuSeconds) {
    // Nothing of the parent's but the pipe: no exec follows, so close-on-exec closes nothing,
    // and another thread's script pipe or the preferences' lock held here would keep them
    // open for as long as the script runs. Nor the parent's signal handlers (the host's turn
    // SIGINT into a byte on its own pipe) or blocked signals.
    if (out != kChildPipe) {
        if (dup2(out, kChildPipe) < 0) _exit(1);
        out = kChildPipe;
    }
    // Nor the parent's standard streams: what a script prints (without end, as fast as the
    // library can write) would land in the host's output, or fill a pipe that nobody reads and
    // stall the script until its deadline. Whatever the child writes there is dropped.
    const int nowhere = open("/dev/null", O_RDWR);
    if (nowhere < 0) _exit(1);
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (nowhere != stream && dup2(nowhere, stream) < 0) _exit(1);
    close_range(kChildPipe + 1, ~0U, 0);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        signal(number, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL); // a parent that stopped reading ends us
    setLimit(RLIMIT_CPU, static_cast<rlim_t>(cpuSeconds));
    setLimit(RLIMIT_CORE, 0); // SIGXCPU would dump the script's memory
#ifndef CORVANTA_ADDRESS_SANITIZER
    if (addressSpace) setLimit(RLIMIT_AS, static_cast<rlim_t>(addressSpace));
#else
    (void)addressSpace; // the Lua allocator's cap alone bounds memory here
#endif
    try {
        ScriptOutcome outcome = runHere(source, limits);
        if (outcome.error.message.size() > kMaxMessageBytes)
            outcome.error.message.resize(kMaxMessageBytes);
        _exit(WriteAll(out, SerializeScriptOutcome(outcome)) ? 0 : 1);
    } catch (...) {
        _exit(2); // out of memory, most likely: the parent sees no outcome
    }
}

// --- The parent. ---

ScriptOutcome failed(ScriptFailure failure, std::string message) {
    ScriptOutcome outcome;
    outcome.error.failure = failure;
    outcome.error.message = std::move(message);
    return outcome;
}

// Both ends close when it goes; the write end is made to close early in the parent.
struct Pipe {
    Pipe() {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        read.reset(fds[0]);
        write.reset(fds[1]);
    }
    bool ok() const { return read && write; }
    FileDescriptor read;
    FileDescriptor write;
};

// Reaps the child when it goes, killing it first if it still runs.
class Child {
public:
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        reap();
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The wait status once it has ended.
    int reap() {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status;
    }
    void stop() { kill(pid_, SIGKILL); }

private:
    pid_t pid_;
};

enum class ReadEnd { complete, deadline, tooLarge, failed };

ReadEnd readUntilEnd(int fd, std::string& bytes, std::size_t maxBytes,
                     std::chrono::steady_clock::time_point deadline) {
    char buffer[65536];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return ReadEnd::deadline;
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()) + 1);
        if (polled < 0 && errno == EINTR) continue;
        if (polled < 0) return ReadEnd::failed;
        if (polled == 0) continue; // the deadline is looked at again above
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return ReadEnd::failed;
        if (got == 0) return ReadEnd::complete;
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) return ReadEnd::tooLarge;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace

std::string SerializeScriptOutcome(const ScriptOutcome& outcome) {
    std::string out;
    putInteger(out, static_cast<std::uint64_t>(outcome.error.failure), 1);
    putInteger(out, outcome.error.message.size(), 4);
    out += outcome.error.message;
    putInteger(out, outcome.result ? 1 : 0, 1);
    if (outcome.result) putDescriptor(out, *outcome.result);
    return out;
}

std::optional<ScriptOutcome> DeserializeScriptOutcome(std::string_view bytes) {
    Reader reader(bytes);
    ScriptOutcome outcome;
    const auto failure = reader.integer(1);
    const auto messageLength = reader.integer(4);
    if (!failure || *failure > static_cast<std::uint64_t>(ScriptFailure::resultTooLarge) ||
        !messageLength)
        return std::nullopt;
    outcome.error.failure = static_cast<ScriptFailure>(*failure);
    std::optional<std::string> message = reader.text(*messageLength);
    const auto hasResult = reader.integer(1);
    if (!message || !hasResult || *hasResult > 1) return std::nullopt;
    outcome.error.message = std::move(*message);
    if (*hasResult && !(outcome.result = reader.descriptor(0))) return std::nullopt;
    if (reader.left() != 0) return std::nullopt;
    return outcome;
}

std::size_t ScriptOutcomeMaxBytes(const ScriptLimits& limits) {
    // The converter charges each value more than its serialized header and a number's text.
    static_assert(ScriptLimits::kResultBytesPerValue >= 4 + 1 + 8 + 8 + 32);
    return limits.resultBytes + kFrameBytes;
}

ScriptOutcome RunScriptInChildProcess(std::string_view source, const ScriptLimits& limits) {
    using std::chrono::steady_clock;
    Pipe pipe;
    if (!pipe.ok()) return failed(ScriptFailure::memory, "cannot make a pipe for the script");
    // What the child shares with us, the script's own memory and room for the rest, or no
    // limit where the sum would overflow. Worked out before the fork: the child only runs.
    std::size_t addressSpace = addressSpaceInUse();
    const std::size_t extra = limits.memoryBytes + kAddressSpaceHeadroom;
    addressSpace = addressSpace && extra > limits.memoryBytes && SIZE_MAX - extra > addressSpace
                       ? addressSpace + extra
                       : 0;
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(limits.wallClock).count();
    const pid_t pid = fork();
    if (pid < 0) return failed(ScriptFailure::memory, "cannot start a process for the script");
    if (pid == 0) {
        pipe.read.reset();
        runChild(pipe.write.get(), source, limits, addressSpace, static_cast<long>(seconds) + 1);
    }
    Child child(pid);
    pipe.write.reset(); // so that the read ends when the child's end closes

    std::string bytes;
    const ReadEnd end = readUntilEnd(pipe.read.get(), bytes, ScriptOutcomeMaxBytes(limits),
                                     steady_clock::now() + limits.wallClock);
    if (end != ReadEnd::complete) child.stop();
    const int status = child.reap();
    if (end == ReadEnd::deadline)
        return failed(ScriptFailure::timeLimit, "script stopped: it ran too long");
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU)
        return failed(ScriptFailure::timeLimit, "script stopped: it used too much processor time");
    if (end == ReadEnd::tooLarge)
        return failed(ScriptFailure::resultTooLarge, "the script's result is too large to copy");
    std::optional<ScriptOutcome> outcome;
    if (end == ReadEnd::complete && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        outcome = DeserializeScriptOutcome(bytes);
    if (outcome) return std::move(*outcome);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        return failed(ScriptFailure::memory, "the script ran out of memory");
    return failed(ScriptFailure::runtime, "the script's process ended without a result");
}
