// SPDX-License-Identifier: MIT
// An X display of a test's own: Xvfb on the first free display number, gone with the test.
#pragma once

#include "tests/support/ScopedEnvironment.h"

#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

// Xvfb on the first free display number, which it reports itself (-displayfd).
class XvfbDisplay {
public:
    XvfbDisplay() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                   "800x600x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char number[16] = {};
        ssize_t got = 0;
        for (ssize_t n; got < 15 && (n = read(fds[0], number + got, 15 - got)) > 0;) {
            got += n;
            if (number[got - 1] == '\n') break;
        }
        close(fds[0]);
        if (got > 1) name_ = ":" + std::string(number, static_cast<size_t>(got - 1));
    }
    ~XvfbDisplay() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    // ":N", or empty when Xvfb did not start.
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// Points Qt in `environment` at `display` over X11, for a test that also needs the private
// session bus. Returns why such a test cannot run here, or nothing when it can.
inline std::string UseDisplayWithSessionBus(const XvfbDisplay& display,
                                            ScopedEnvironment& environment) {
    if (!std::getenv("DBUS_SESSION_BUS_ADDRESS")) return "no private session bus";
    if (display.name().empty()) return "Xvfb did not start";
    environment.set("DISPLAY", display.name().c_str());
    environment.set("QT_QPA_PLATFORM", "xcb");
    environment.set("WAYLAND_DISPLAY", nullptr);
    return {};
}
