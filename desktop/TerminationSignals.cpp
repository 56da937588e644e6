// SPDX-License-Identifier: MIT
#include "desktop/TerminationSignals.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

int gSignalPipe = -1;

// Only async-signal-safe work here: one byte into the pipe; the main loop does the rest.
void onTerminationSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t written = write(gSignalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal) {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    gSignalPipe = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this, onSignal = std::move(onSignal)] {
                         char bytes[16];
                         while (read(pipe_[0], bytes, sizeof bytes) > 0) {
                         }
                         onSignal();
                     });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

TerminationSignals::~TerminationSignals() {
    if (pipe_[0] < 0) return;
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
    notifier_.reset();
    gSignalPipe = -1;
    close(pipe_[0]);
    close(pipe_[1]);
}
