// SPDX-License-Identifier: MIT
// What the run loop needs of the distributed centre. Not for callers of the CF interface.
#pragma once

#include <chrono>

// True while the centre has observers and a bus to hear them on.
bool CFNotificationCenterIsListening();
// Waits at most `timeout` for notifications (or for `wakeFd` to become readable).
void CFNotificationCenterWait(std::chrono::nanoseconds timeout, int wakeFd);
// Calls the observers of every notification received so far; the number delivered.
int CFNotificationCenterDeliverReceived();
