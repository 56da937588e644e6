// SPDX-License-Identifier: MIT
#include "platform/Foundation/CurlTransfer.h"

#include "base/UserSocket.h"

#include <algorithm>
#include <mutex>
#include <sys/socket.h>

namespace {

void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Refuses the chunk that would take the body past the cap; curl then aborts the transfer.
// (CURLOPT_MAXFILESIZE alone does not stop a body without a length in this curl.)
size_t appendChunk(char* data, size_t size, size_t count, void* userdata) {
    auto* body = static_cast<CurlBody*>(userdata);
    const size_t n = size * count;
    if (n > body->limit - body->bytes.size()) {
        body->overflowed = true;
        return 0;
    }
    body->bytes.append(data, n);
    return n;
}

curl_socket_t openSocket(void* userdata, curlsocktype, curl_sockaddr* address) {
    auto* unixSocket = static_cast<CurlUnixSocket*>(userdata);
    unixSocket->fd = socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    return unixSocket->fd < 0 ? CURL_SOCKET_BAD : unixSocket->fd;
}

// Once connected, before a byte of the request goes out.
int checkPeer(void* userdata, char*, char*, int, int) {
    auto* unixSocket = static_cast<CurlUnixSocket*>(userdata);
    if (unixSocket->fd >= 0 && PeerIsThisUser(unixSocket->fd)) return CURL_PREREQFUNC_OK;
    unixSocket->refused = true;
    return CURL_PREREQFUNC_ABORT;
}

} // namespace

CurlLimits CurlLimitsWithin(CurlLimits limits, std::optional<std::chrono::milliseconds> ceiling) {
    if (ceiling) {
        limits.connect = std::min(limits.connect, *ceiling);
        limits.transfer = std::min(limits.transfer, *ceiling);
    }
    return limits;
}

CurlEasy CurlNewTransfer(const std::string& address, const CurlLimits& limits, CurlBody& body,
                         CurlUnixSocket* unixSocket) {
    initialiseCurlOnce();
    CurlEasy easy(curl_easy_init());
    if (!easy) return easy;
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, address.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, limits.maxRedirects);
    // Zero would mean no limit at all to curl: a limit is at least a millisecond.
    const auto milliseconds = [](std::chrono::milliseconds span) {
        return std::max(1L, static_cast<long>(span.count()));
    };
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, milliseconds(limits.connect));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, milliseconds(limits.transfer));
    // No signals: we may run on any thread; the threaded resolver keeps look-ups timed.
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    // Refuses a declared length over the cap before any byte arrives.
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(body.limit));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, appendChunk);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &body);
    // Every content encoding this libcurl decodes (gzip, deflate, ...); the body cap applies to
    // the decoded bytes, so a small compressed body cannot unpack past it.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    if (unixSocket) {
        curl_easy_setopt(e, CURLOPT_UNIX_SOCKET_PATH, unixSocket->path.c_str());
        curl_easy_setopt(e, CURLOPT_OPENSOCKETFUNCTION, openSocket);
        curl_easy_setopt(e, CURLOPT_OPENSOCKETDATA, unixSocket);
        curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, checkPeer);
        curl_easy_setopt(e, CURLOPT_PREREQDATA, unixSocket);
        // Every hop of a redirect would go to the same socket: there is none to follow.
        curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    }
    return easy;
}

CurlCancellableTransfer::CurlCancellableTransfer(CURL* easy)
    : easy_(easy), multi_(curl_multi_init()) {
    if (multi_) curl_multi_add_handle(multi_, easy_);
}

CurlCancellableTransfer::~CurlCancellableTransfer() {
    if (!multi_) return;
    curl_multi_remove_handle(multi_, easy_);
    curl_multi_cleanup(multi_);
}

CURLcode CurlCancellableTransfer::perform() {
    if (!multi_) return CURLE_OUT_OF_MEMORY;
    // The poll's own time-out only bounds how long a missed wake-up could go unnoticed; curl
    // shortens it to its own timers.
    constexpr int kPollMilliseconds = 1000;
    for (int running = 1; running && !cancelled_;) {
        if (curl_multi_perform(multi_, &running) != CURLM_OK) return CURLE_FAILED_INIT;
        if (running && curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr) != CURLM_OK)
            return CURLE_FAILED_INIT;
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi_, &left))
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_)
            return message->data.result; // ended on its own, even if a cancel came meanwhile
    return cancelled_ ? CURLE_OPERATION_TIMEDOUT : CURLE_FAILED_INIT;
}

void CurlCancellableTransfer::cancel() {
    cancelled_ = true;
    if (multi_) curl_multi_wakeup(multi_);
}
