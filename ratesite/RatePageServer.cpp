// SPDX-License-Identifier: MIT
#include "ratesite/RatePageServer.h"

#include "platform/Foundation/NSLog.h"
#include "ratesite/RequestLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <vector>

namespace {

bool isTemporary(int error) {
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

// What one connection may read, and how many connections may be accepted, in one turn of the
// loop: a client that sends without pause is read a little per turn, like the others.
constexpr size_t kBytesPerTurn = 16 * 1024;
constexpr size_t kAcceptsPerTurn = 16;
// How long the listener is left alone when accepting fails for want of descriptors, unless a
// connection closes first: the descriptors may be held by another thread.
constexpr std::chrono::milliseconds kAcceptPause{250};

bool isOutOfResources(int error) {
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

} // namespace

struct RatePageServer::Connection {
    enum class State { Reading, Writing, Draining, Done };

    FileDescriptor fd;
    Clock::time_point deadline;
    State state = State::Reading;
    std::string request;
    std::shared_ptr<const RateSitePages> pages; // keeps the answer being written alive
    std::string_view unsent;
    size_t drained = 0; // bytes read and dropped after the answer

    // How readily it gives up its slot, or nothing while it is being answered: first one that
    // is over, then one without a whole request line (a client that sent nothing yet, or a
    // slowloris), then one still sending headers, then one whose answer is wholly sent and
    // that sent nothing more (closing it then cannot reset the connection and lose the answer).
    std::optional<int> evictionRank() const {
        int unread = 0;
        switch (state) {
        case State::Done:
            return 0;
        case State::Reading:
            return request.find('\n') == std::string::npos ? 1 : 2;
        case State::Draining:
            if (ioctl(fd.get(), FIONREAD, &unread) == 0 && unread == 0) return 3;
            return std::nullopt;
        case State::Writing:
            return std::nullopt;
        }
        return std::nullopt;
    }
};

RatePageServer::RatePageServer(int listener, const RatePageStore& store, Limits limits)
    : listener_(listener), store_(store), limits_(limits) {}

RatePageServer::~RatePageServer() = default;

void RatePageServer::run(int stop, std::optional<std::chrono::milliseconds> idleLimit) {
    lastRequest_ = Clock::now();
    std::vector<pollfd> polled;
    for (;;) {
        const Clock::time_point now = Clock::now();
        for (Connection& connection : connections_)
            if (now >= connection.deadline) connection.state = Connection::State::Done;
        const size_t open = connections_.size();
        std::erase_if(connections_, [](const Connection& connection) {
            return connection.state == Connection::State::Done;
        });
        if (connections_.size() < open || (acceptPausedUntil_ && now >= *acceptPausedUntil_))
            acceptPausedUntil_.reset();
        if (idleLimit && connections_.empty() && now - lastRequest_ >= *idleLimit) return;

        Clock::time_point wake = now + std::chrono::seconds(60);
        if (idleLimit) wake = std::min(wake, lastRequest_ + *idleLimit);
        // A negative descriptor is left out of the poll, while keeping the places of the others.
        polled.assign({{stop, POLLIN, 0}, {acceptPausedUntil_ ? -1 : listener_, POLLIN, 0}});
        if (acceptPausedUntil_) wake = std::min(wake, *acceptPausedUntil_);
        for (const Connection& connection : connections_) {
            wake = std::min(wake, connection.deadline);
            const short events = connection.state == Connection::State::Writing ? POLLOUT : POLLIN;
            polled.push_back({connection.fd.get(), events, 0});
        }
        const auto timeout =
            std::chrono::ceil<std::chrono::milliseconds>(std::max(wake - now, Clock::duration{}));
        if (poll(polled.data(), polled.size(), static_cast<int>(timeout.count())) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (polled[0].revents) return;
        // Connections first: accepting may evict one, which would shift the ones polled.
        for (size_t i = 0; i < connections_.size(); ++i) {
            if (!polled[i + 2].revents) continue;
            Connection& connection = connections_[i];
            switch (connection.state) {
            case Connection::State::Reading:
                readFrom(connection);
                break;
            case Connection::State::Writing:
                writeTo(connection);
                break;
            case Connection::State::Draining:
                drain(connection);
                break;
            case Connection::State::Done:
                break;
            }
        }
        if (polled[1].revents) acceptAll(Clock::now());
    }
}

void RatePageServer::acceptAll(Clock::time_point now) {
    for (size_t accepted = 0; accepted < kAcceptsPerTurn; ++accepted) {
        FileDescriptor fd(accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (isOutOfResources(errno)) pauseAccepting(now, errno);
            return; // none left (or a fault poll will tell of again)
        }
        descriptorShortageLogged_ = false;
        if (connections_.size() >= limits_.connections && !makeRoom())
            continue; // every slot answers a request: this one is closed unheard
        Connection connection;
        connection.fd = std::move(fd);
        connection.deadline = now + limits_.connectionTime;
        connections_.push_back(std::move(connection));
        // A client usually sends its request with the connection: read it now, before more
        // connections can crowd it out.
        readFrom(connections_.back());
    }
}

// Out of descriptors, the listener stays readable and accept fails at once: rather than spin on
// it, the loop leaves it alone for a while, said once in the log until accepting works again.
void RatePageServer::pauseAccepting(Clock::time_point now, int error) {
    acceptPausedUntil_ = now + kAcceptPause;
    if (descriptorShortageLogged_) return;
    descriptorShortageLogged_ = true;
    NSLog("corvanta-rate-site: cannot accept connections: %s; waiting for one to close",
          std::strerror(error));
}

bool RatePageServer::makeRoom() {
    // The oldest of the most readily given up: a client that reconnects to hold slots only ever
    // pushes out its own older connections, never a request that is complete.
    auto chosen = connections_.end();
    std::optional<int> chosenRank;
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        const std::optional<int> rank = it->evictionRank();
        if (rank && (!chosenRank || *rank < *chosenRank ||
                     (*rank == *chosenRank && it->deadline < chosen->deadline))) {
            chosen = it;
            chosenRank = rank;
        }
    }
    if (chosen == connections_.end()) return false;
    connections_.erase(chosen);
    return true;
}

void RatePageServer::readFrom(Connection& connection) {
    char chunk[4096];
    for (;;) {
        // Never past the limit: a request that fills it without ending is too large, whatever
        // follows it in the socket.
        const size_t room = limits_.requestBytes - connection.request.size();
        if (room == 0) {
            connection.unsent = TooLargeResponse().bytes;
            connection.state = Connection::State::Writing;
            writeTo(connection);
            return;
        }
        const ssize_t got = recv(connection.fd.get(), chunk, std::min(sizeof chunk, room), 0);
        if (got < 0 && isTemporary(errno)) return;
        if (got <= 0) { // closed or failed before the request was whole
            connection.state = Connection::State::Done;
            return;
        }
        // The end of the headers may straddle two reads.
        const size_t searchFrom =
            connection.request.size() - std::min<size_t>(connection.request.size(), 3);
        connection.request.append(chunk, static_cast<size_t>(got));
        if (connection.request.find("\r\n\r\n", searchFrom) != std::string::npos ||
            connection.request.find("\n\n", searchFrom) != std::string::npos) {
            answer(connection);
            return;
        }
    }
}

void RatePageServer::answer(Connection& connection) {
    lastRequest_ = Clock::now();
    const std::string_view request = connection.request;
    const std::optional<RequestLine> line =
        ParseRequestLine(request.substr(0, request.find_first_of("\r\n")));
    const PreparedResponse* response = &BadRequestResponse();
    const bool head = line && line->method == "HEAD";
    if (line && line->method != "GET" && !head) {
        response = &MethodNotAllowedResponse();
    } else if (line) {
        connection.pages = store_.current(); // null: no rates at all (no snapshot read)
        const PreparedResponse* found =
            connection.pages ? connection.pages->find(line->path) : nullptr;
        response = found ? found : &NotFoundResponse();
    }
    connection.unsent = response->forMethod(head);
    connection.state = Connection::State::Writing;
    writeTo(connection);
}

void RatePageServer::writeTo(Connection& connection) {
    while (!connection.unsent.empty()) {
        const ssize_t sent = send(connection.fd.get(), connection.unsent.data(),
                                  connection.unsent.size(), MSG_NOSIGNAL);
        if (sent < 0 && isTemporary(errno)) return;
        if (sent <= 0) {
            connection.state = Connection::State::Done;
            return;
        }
        connection.unsent.remove_prefix(static_cast<size_t>(sent));
    }
    // Closing at once with unread bytes would reset the connection and could lose the answer
    // at the client; end our side and read until the client closes (or the deadline).
    shutdown(connection.fd.get(), SHUT_WR);
    connection.state = Connection::State::Draining;
    drain(connection);
}

void RatePageServer::drain(Connection& connection) {
    char chunk[4096];
    for (size_t turn = 0; turn < kBytesPerTurn; turn += sizeof chunk) {
        const ssize_t got = recv(connection.fd.get(), chunk, sizeof chunk, 0);
        if (got < 0 && isTemporary(errno)) return;
        connection.drained += static_cast<size_t>(std::max<ssize_t>(got, 0));
        // A client that keeps sending after its answer has had it: closed, even though the
        // unread bytes reset the connection.
        if (got <= 0 || connection.drained > limits_.drainBytes) {
            connection.state = Connection::State::Done;
            return;
        }
    }
}
