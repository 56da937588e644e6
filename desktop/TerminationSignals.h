// SPDX-License-Identifier: MIT
// Turns SIGINT and SIGTERM into a call on the main thread, so that the pane can be left (and
// its settings stored) as if its window had been closed. The previous handlers come back when
// this goes.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <signal.h>

class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    int pipe_[2] = {-1, -1};
    struct sigaction previousInt_ = {};
    struct sigaction previousTerm_ = {};
    std::unique_ptr<QSocketNotifier> notifier_;
};
