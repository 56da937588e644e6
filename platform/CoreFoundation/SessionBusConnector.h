// SPDX-License-Identifier: MIT
// Opens a connection to the D-Bus session bus without letting a bad bus hold the caller up.
// sd-bus waits up to 90 seconds for a bus that accepts the connection but never answers, so
// the connection is opened on a helper thread and the caller waits only until its deadline.
// An attempt that outlives its caller's deadline is not repeated: later calls take its
// connection if it has come meanwhile, and otherwise fail at once.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace sdbus {
class IConnection;
}

class SessionBusConnector {
public:
    // The new connection, or null with the reason in `error`.
    std::unique_ptr<sdbus::IConnection> connect(std::chrono::steady_clock::time_point deadline,
                                                std::string& error);

private:
    struct Attempt;
    std::shared_ptr<Attempt> inFlight_; // an attempt whose caller gave up waiting for it
};
