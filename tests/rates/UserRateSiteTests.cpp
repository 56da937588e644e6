// SPDX-License-Identifier: MIT
// Whose rate site the rate source asks: CORVANTA_RATE_SITE when set, else the user's own site
// on its socket in the user's runtime folder, and never one another local user runs.
#include "rates/RateSite.h"

#include "base/Identity.h"
#include "tests/support/ForkedProcess.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <array>
#include <filesystem>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kOtherUser = 65534; // nobody

// What a load of the dollar's page from the configured site says: its body or why it failed.
std::string loadDollarPage() {
    const std::optional<NSURL> url = RateSiteAddress("/d/USD/table.html");
    if (!url) return "no address";
    NSURLHandle handle = url->URLHandleUsingCache(false);
    const std::optional<std::string> page = handle.resourceData();
    return page ? *page : handle.failureReason();
}

// A server of another user: `listen` makes its listening socket (switching to that user where
// it must), then it counts for two seconds the request bytes anyone sends it. The process
// succeeds when it was never asked for anything.
class OtherUsersServer {
public:
    explicit OtherUsersServer(std::function<int()> listen)
        : ready_(makePipe()), process_([this, listen] {
              const int fd = listen();
              if (fd < 0) return false;
              (void)!write(ready_[1], "1", 1);
              return nothingRequested(fd);
          }) {
        // Only the child writes: a child that could not listen closes the pipe unwritten.
        close(ready_[1]);
        char byte = 0;
        listening_ = read(ready_[0], &byte, 1) == 1;
    }
    ~OtherUsersServer() { close(ready_[0]); }
    bool listening() const { return listening_; }
    bool neverAsked() { return process_.succeeded(); }

private:
    static std::array<int, 2> makePipe() {
        std::array<int, 2> fds{-1, -1};
        if (pipe(fds.data()) != 0) std::abort();
        return fds;
    }
    static bool nothingRequested(int listener) {
        size_t received = 0;
        for (int turn = 0; turn < 20; ++turn) {
            pollfd polled{listener, POLLIN, 0};
            if (poll(&polled, 1, 100) <= 0) continue;
            const int client = accept(listener, nullptr, nullptr);
            char chunk[512];
            pollfd reading{client, POLLIN, 0};
            while (poll(&reading, 1, 300) > 0) {
                const ssize_t got = read(client, chunk, sizeof chunk);
                if (got <= 0) break;
                received += static_cast<size_t>(got);
            }
            close(client);
        }
        return received == 0;
    }

    std::array<int, 2> ready_;
    ForkedProcess process_;
    bool listening_ = false;
};

// Binds the socket at `path`, hands it (and its folder, when `folderIsTheirs`) to the other
// user and then becomes that user, since the peer's credentials are those of the listener.
int unixListener(const fs::path& path, bool folderIsTheirs) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
    chmod(path.c_str(), 0666);
    if (folderIsTheirs && (chown(path.c_str(), kOtherUser, 0) != 0 ||
                           chown(path.parent_path().c_str(), kOtherUser, 0) != 0))
        return -1;
    if (setuid(kOtherUser) != 0) return -1;
    return listen(fd, 8) == 0 ? fd : -1;
}

class UserRateSite : public ::testing::Test {
protected:
    void SetUp() override {
        fs::permissions(runtime_.path(), fs::perms::owner_all);
        environment_.set("CORVANTA_RATE_SITE", nullptr);
        environment_.set("XDG_RUNTIME_DIR", runtime_.path().c_str());
    }
    fs::path socketPath() const { return runtime_.path() / CORVANTA_RATE_SITE_SOCKET; }

    TemporaryFolder runtime_;
    ScopedEnvironment environment_;
};

} // namespace

TEST_F(UserRateSite, TheSiteIsTheVariablesOrTheUsersOwnSocket) {
    struct Case {
        const char *site, *runtime;
        std::optional<std::string> address, socket;
    } cases[] = {
        {nullptr, "/run/user/7", "http://localhost/d/USD/table.html",
         "/run/user/7/" CORVANTA_RATE_SITE_SOCKET},
        {nullptr, nullptr, std::nullopt, std::nullopt}, // no folder of the user's own: no site
        {nullptr, "relative/run", std::nullopt, std::nullopt},
        {"unix:/tmp/x.socket", nullptr, "http://localhost/d/USD/table.html", "/tmp/x.socket"},
        {"unix:x.socket", "/run/user/7", std::nullopt, std::nullopt},
        {"http://127.0.0.1:8080/", "/run/user/7", "http://127.0.0.1:8080/d/USD/table.html",
         std::nullopt},
    };
    for (const Case& c : cases) {
        environment_.set("CORVANTA_RATE_SITE", c.site);
        environment_.set("XDG_RUNTIME_DIR", c.runtime);
        const std::optional<NSURL> url = RateSiteAddress("/d/USD/table.html");
        EXPECT_EQ(url ? std::optional(url->absoluteString()) : std::nullopt, c.address)
            << (c.site ? c.site : "(unset)");
        EXPECT_EQ(url ? url->unixSocket() : std::nullopt, c.socket);
    }
}

TEST_F(UserRateSite, AnotherUsersSiteOnTheOldPortIsNeverAsked) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run a server as another user";
    OtherUsersServer other([] {
        if (setuid(kOtherUser) != 0) return -1;
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        const int reuse = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(27315); // where every user's site once listened
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
        return listen(fd, 8) == 0 ? fd : -1;
    });
    if (!other.listening()) GTEST_SKIP() << "the old port is taken here";
    EXPECT_NE(loadDollarPage().find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(other.neverAsked());
}

TEST_F(UserRateSite, ASocketOfAnotherUsersIsNeverAsked) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run a server as another user";
    fs::create_directories(socketPath().parent_path());
    fs::permissions(socketPath().parent_path(), fs::perms::owner_all);
    struct Case {
        bool folderIsTheirs;
        std::string reason;
    } cases[] = {
        // Their folder, their socket: refused before connecting.
        {true, "belongs to another user"},
        // Our folder and socket file, but the process listening runs as them.
        {false, "is another user's"},
    };
    for (const Case& c : cases) {
        fs::remove(socketPath());
        if (chown(socketPath().parent_path().c_str(), 0, 0) != 0) FAIL() << "chown";
        OtherUsersServer other([this, &c] { return unixListener(socketPath(), c.folderIsTheirs); });
        ASSERT_TRUE(other.listening());
        const std::string answer = loadDollarPage();
        EXPECT_NE(answer.find(c.reason), std::string::npos) << answer;
        EXPECT_TRUE(other.neverAsked()) << c.reason;
    }
}
