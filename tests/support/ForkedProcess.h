// SPDX-License-Identifier: MIT
// Runs a piece of the test in a second process, as another program using the same files or bus
// would. The child exits with 0 when `body` returns true, without running any test teardown.
#pragma once

#include <cstdlib>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

class ForkedProcess {
public:
    explicit ForkedProcess(const std::function<bool()>& body) {
        pid_ = fork();
        if (pid_ == 0) _exit(body() ? 0 : 1);
    }
    ~ForkedProcess() {
        if (pid_ > 0 && !waited_) {
            kill(pid_, SIGKILL);
            wait();
        }
    }
    ForkedProcess(const ForkedProcess&) = delete;
    ForkedProcess& operator=(const ForkedProcess&) = delete;

    bool started() const { return pid_ > 0; }
    // True when the child ran its body to a successful end.
    bool succeeded() {
        const int status = wait();
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    int wait() {
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        waited_ = true;
        return status;
    }

    pid_t pid_ = -1;
    bool waited_ = false;
};
