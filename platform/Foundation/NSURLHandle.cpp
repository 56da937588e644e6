// SPDX-License-Identifier: MIT
#include "platform/Foundation/NSURLHandle.h"

#include "base/EscapedText.h"
#include "base/UserSocket.h"
#include "platform/Foundation/CurlTransfer.h"
#include "platform/Foundation/NSLog.h"

#include <mutex>
#include <set>

namespace {

std::mutex settingsMutex;
NSURLHandle::WaitHook waitHook;                          // guarded by settingsMutex
std::optional<std::chrono::milliseconds> timeoutCeiling; // guarded by settingsMutex
NSURLHandle::LoadObserver loadObserver;                  // guarded by settingsMutex

std::mutex runningMutex;
std::set<CurlCancellableTransfer*> runningTransfers; // guarded by runningMutex

// Known to cancelRunningLoads from before the wait begins until the transfer is gone: a cancel
// given on the thread that then waits always reaches it.
class RunningTransfer {
public:
    explicit RunningTransfer(CURL* easy) : transfer_(easy) {
        std::lock_guard lock(runningMutex);
        runningTransfers.insert(&transfer_);
    }
    ~RunningTransfer() {
        std::lock_guard lock(runningMutex);
        runningTransfers.erase(&transfer_);
    }
    RunningTransfer(const RunningTransfer&) = delete;
    RunningTransfer& operator=(const RunningTransfer&) = delete;
    CurlCancellableTransfer& operator*() { return transfer_; }

private:
    CurlCancellableTransfer transfer_;
};

} // namespace

void NSURLHandle::cancelRunningLoads() {
    std::lock_guard lock(runningMutex);
    for (CurlCancellableTransfer* transfer : runningTransfers)
        transfer->cancel();
}

void NSURLHandle::setLoadObserver(LoadObserver observer) {
    std::lock_guard lock(settingsMutex);
    loadObserver = std::move(observer);
}

void NSURLHandle::setWaitHook(WaitHook hook) {
    std::lock_guard lock(settingsMutex);
    waitHook = std::move(hook);
}

void NSURLHandle::setTimeoutCeiling(std::optional<std::chrono::milliseconds> ceiling) {
    std::lock_guard lock(settingsMutex);
    timeoutCeiling = ceiling;
}

std::optional<std::string> NSURLHandle::resourceData() {
    std::optional<std::string> data = load();
    // A line of our own beside the caller's messages, which know only that the load failed.
    if (!data) NSLogLine("NSURLHandle: " + QuotedText(address_) + ": " + failureReason_);
    LoadObserver observer;
    {
        std::lock_guard lock(settingsMutex);
        observer = loadObserver;
    }
    if (observer) observer(address_, failureReason_);
    return data;
}

std::optional<std::string> NSURLHandle::load() {
    failureReason_.clear();
    statusCode_ = 0;
    WaitHook hook;
    std::optional<std::chrono::milliseconds> ceiling;
    {
        std::lock_guard lock(settingsMutex);
        hook = waitHook;
        ceiling = timeoutCeiling;
    }
    std::optional<CurlUnixSocket> unixSocket;
    if (unixSocket_) {
        // Nobody else's socket is ever connected to: not in a folder others can reach, not one
        // another user made.
        if (std::string problem = UserSocketProblem(*unixSocket_); !problem.empty()) {
            failureReason_ = "the rate site's socket is not the user's own: " + problem;
            return std::nullopt;
        }
        unixSocket.emplace(*unixSocket_);
    }
    CurlBody body(kMaxBodyBytes);
    const CurlEasy easy = CurlNewTransfer(
        address_, CurlLimitsWithin({kConnectTimeout, kTransferTimeout, kMaxRedirects}, ceiling),
        body, unixSocket ? &*unixSocket : nullptr);
    if (!easy) {
        failureReason_ = "the transfer could not be set up";
        return std::nullopt;
    }
    CURL* e = easy.get();
    CURLcode result = CURLE_OK;
    RunningTransfer running(e);
    const auto transfer = [&result, &running] { result = (*running).perform(); };
    if (hook)
        hook(transfer);
    else
        transfer();
    if (result != CURLE_OK) {
        failureReason_ = body.overflowed ? "the body is larger than 8 MiB"
                         : (*running).cancelled() && result == CURLE_OPERATION_TIMEDOUT
                             ? std::string(curl_easy_strerror(result)) + " (the load was cancelled)"
                         : unixSocket && unixSocket->refused
                             ? "the process at " + unixSocket->path + " is another user's"
                             : std::string(curl_easy_strerror(result));
        return std::nullopt;
    }
    long status = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &status);
    statusCode_ = status;
    if (status < 200 || status > 299) {
        failureReason_ = "the server answered with status " + std::to_string(status);
        return std::nullopt;
    }
    return std::move(body.bytes);
}
