// SPDX-License-Identifier: MIT
// Starts a program with its standard output on a pipe, reads its lines with a time limit, and
// kills it if the test ends first.
#pragma once

#include <chrono>
#include <csignal>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

class ChildProgram {
public:
    explicit ChildProgram(std::vector<std::string> arguments) {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            // Dies with the test, so no program outlives it holding its pipes open.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            dup2(fds[1], STDOUT_FILENO);
            close(fds[0]);
            close(fds[1]);
            std::vector<char*> argv;
            for (auto& argument : arguments)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        out_ = fds[0];
    }
    ~ChildProgram() {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitForExit(std::chrono::seconds(5));
        }
        if (out_ >= 0) close(out_);
    }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // The next line without its newline, or nothing at end of output or after `patience`.
    std::optional<std::string> readLine(std::chrono::milliseconds patience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        for (;;) {
            if (auto newline = buffer_.find('\n'); newline != std::string::npos) {
                std::string line = buffer_.substr(0, newline);
                buffer_.erase(0, newline + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{out_, POLLIN, 0};
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                return std::nullopt;
            char chunk[4096];
            const ssize_t got = read(out_, chunk, sizeof chunk);
            if (got <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<size_t>(got));
        }
    }

    pid_t pid() const { return pid_; }

    // Sends `number` (SIGTERM, say) to the program while it runs.
    void signal(int number) {
        if (pid_ > 0 && !exited_) kill(pid_, number);
    }

    // The exit code, or nothing when it did not exit normally within `patience`.
    std::optional<int> waitForExit(std::chrono::milliseconds patience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
            usleep(10'000);
        }
        exited_ = true;
        if (!WIFEXITED(status)) return std::nullopt;
        return WEXITSTATUS(status);
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool exited_ = false;
    std::string buffer_;
};
