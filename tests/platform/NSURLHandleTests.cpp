// SPDX-License-Identifier: MIT
// URL loading against a server on loopback: what counts as a page and what as a failure.
#include "platform/Foundation/NSURL.h"
#include "tests/support/LogCapture.h"
#include "tests/support/LoopbackServer.h"

#include <gtest/gtest.h>

#include <curl/curl.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace {

class Loading : public testing::Test {
protected:
    void SetUp() override {
        auto& routes = server_.routes();
        routes.Get("/page", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<html>rates</html>", "text/html");
        });
        routes.Get("/empty",
                   [](const httplib::Request&, httplib::Response& res) { res.status = 204; });
        routes.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            res.status = std::stoi(req.matches[1]);
            res.set_content("error page", "text/html");
        });
        // /hops/N redirects N times before reaching the page.
        routes.Get(R"(/hops/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
            const int left = std::stoi(req.matches[1]);
            res.set_redirect(left == 0 ? "/page" : "/hops/" + std::to_string(left - 1));
        });
        routes.Get("/to-ftp", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("ftp://127.0.0.1/page");
        });
        routes.Get("/to-file", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("file:///etc/hostname");
        });
        routes.Get("/exactly-cap", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(NSURLHandle::kMaxBodyBytes, 'x'), "text/plain");
        });
        routes.Get("/over-cap", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(NSURLHandle::kMaxBodyBytes + 1, 'x'), "text/plain");
        });
        routes.Get("/endless", [this](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/html", [this](size_t, httplib::DataSink& sink) {
                static const std::string chunk(64 * 1024, 'z');
                return !server_.stopping() && sink.write(chunk.data(), chunk.size());
            });
        });
        routes.Get("/gzip", [](const httplib::Request&, httplib::Response& res) {
            static const char compressed[] =
                "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xb3\xc9\x28\xc9\xcd\xb1\x2b\x4a\x2c"
                "\x49\x2d\xb6\xd1\x07\xb3\x01\x0d\x4e\x80\x7d\x12\x00\x00\x00";
            res.set_header("Content-Encoding", "gzip");
            res.set_content(std::string(compressed, sizeof compressed - 1), "text/html");
        });
        routes.Get("/stalled", [this](const httplib::Request&, httplib::Response& res) {
            for (int i = 0; i < 500 && !server_.stopping(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            res.set_content("late", "text/plain");
        });
        server_.start();
    }
    void TearDown() override { NSURLHandle::setTimeoutCeiling(std::nullopt); }

    std::optional<std::string> load(const std::string& path, std::string* reason = nullptr) {
        auto url = NSURL::URLWithString(server_.url(path));
        EXPECT_TRUE(url) << path;
        if (!url) return std::nullopt;
        NSURLHandle handle = url->URLHandleUsingCache(false);
        auto data = handle.resourceData();
        if (reason) *reason = handle.failureReason();
        return data;
    }

    LoopbackServer server_;
};

} // namespace

TEST_F(Loading, GivesTheBodyOfA2xxAnswer) {
    EXPECT_EQ(load("/page"), "<html>rates</html>");
    EXPECT_EQ(load("/empty"), "");
}

TEST_F(Loading, AnyOtherStatusIsAFailure) {
    for (int status : {304, 400, 404, 500, 503}) {
        std::string reason;
        EXPECT_EQ(load("/status/" + std::to_string(status), &reason), std::nullopt) << status;
        EXPECT_NE(reason.find(std::to_string(status)), std::string::npos) << reason;
    }
}

TEST_F(Loading, FollowsAtMostFiveRedirects) {
    EXPECT_EQ(load("/hops/4"), "<html>rates</html>"); // five redirects in all
    EXPECT_EQ(load("/hops/5"), std::nullopt);
    EXPECT_EQ(load("/hops/50"), std::nullopt);
}

TEST_F(Loading, RedirectsOnlyToHttp) {
    EXPECT_EQ(load("/to-ftp"), std::nullopt);
    EXPECT_EQ(load("/to-file"), std::nullopt);
}

TEST_F(Loading, CapsTheBodyAtEightMebibytes) {
    const auto whole = load("/exactly-cap");
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->size(), NSURLHandle::kMaxBodyBytes);
    EXPECT_EQ(load("/over-cap"), std::nullopt);
    std::string reason;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(load("/endless", &reason), std::nullopt);
    EXPECT_NE(reason.find("8 MiB"), std::string::npos) << reason;
    // Well before the 30 s time-out: the cap, not the clock, ended it.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(Loading, TimesOutWithinTheCeilingTheProgramSets) {
    NSURLHandle::setTimeoutCeiling(std::chrono::milliseconds(500));
    const auto start = std::chrono::steady_clock::now();
    std::string reason;
    EXPECT_EQ(load("/stalled", &reason), std::nullopt);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(400));
    EXPECT_LT(took, std::chrono::seconds(3));
    // Without a ceiling the built-in limits hold, which this page meets.
    NSURLHandle::setTimeoutCeiling(std::nullopt);
    EXPECT_EQ(load("/page"), "<html>rates</html>");
}

TEST_F(Loading, DecodesACompressedBody) {
    EXPECT_EQ(load("/gzip"), "<html>rates</html>");
}

// The caller logs only that the load failed; the loader says why, on a line of its own.
TEST_F(Loading, EveryFailureIsLoggedWithItsReason) {
    int refusedPort;
    {
        LoopbackServer probe;
        probe.start();
        refusedPort = probe.port();
    }
    // Only the stalled load is about time; the others get the full time-outs, so that a busy
    // machine cannot turn their failure into a time-out.
    using std::chrono::milliseconds;
    const milliseconds untimed = std::chrono::seconds(30);
    const struct {
        std::string address;
        const char* reason;
        milliseconds ceiling;
    } failures[] = {
        {server_.url("/status/500"), "status 500", untimed},
        {server_.url("/over-cap"), "8 MiB", untimed},
        {server_.url("/stalled"), "Timeout", milliseconds(500)},
        {server_.url("/hops/50"), "redirects", untimed},
        {"http://127.0.0.1:" + std::to_string(refusedPort) + "/page", "connect", untimed},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.address);
        NSURLHandle::setTimeoutCeiling(failure.ceiling);
        LogCapture log;
        EXPECT_FALSE(
            NSURL::URLWithString(failure.address)->URLHandleUsingCache(false).resourceData());
        const std::vector<std::string> lines = log.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].starts_with("NSURLHandle: \"" + failure.address + "\": ")) << lines[0];
        EXPECT_NE(lines[0].find(failure.reason), std::string::npos) << lines[0];
    }
}

// A program asked to stop ends a load at once rather than at its time-out; the load fails as a
// timed-out one does, and the observer hears of every end, failed or not.
TEST_F(Loading, ACancelEndsARunningLoadAtOnceAndOnlyThatOne) {
    std::vector<std::pair<std::string, std::string>> ends;
    NSURLHandle::setLoadObserver([&ends](const std::string& address, const std::string& reason) {
        ends.emplace_back(address, reason);
    });
    std::thread canceller([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        NSURLHandle::cancelRunningLoads();
    });
    const auto start = std::chrono::steady_clock::now();
    std::string reason;
    EXPECT_EQ(load("/stalled", &reason), std::nullopt);
    const auto took = std::chrono::steady_clock::now() - start;
    canceller.join();
    EXPECT_GE(took, std::chrono::milliseconds(250));
    EXPECT_LT(took, std::chrono::seconds(2)) << "the stalled page takes five";
    EXPECT_EQ(reason, "Timeout was reached (the load was cancelled)");
    // The next load is not affected.
    EXPECT_EQ(load("/page"), "<html>rates</html>");
    NSURLHandle::setLoadObserver({});
    EXPECT_EQ(load("/status/500"), std::nullopt);

    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0], std::pair(server_.url("/stalled"), reason));
    EXPECT_EQ(ends[1], std::pair(server_.url("/page"), std::string()));
}

TEST(URLLoading, NameLookUpIsTimedByTheThreadedResolver) {
    // Without an asynchronous resolver and with signals off, a look-up could block for ever.
    EXPECT_TRUE(curl_version_info(CURLVERSION_NOW)->features & CURL_VERSION_ASYNCHDNS);
}

TEST(NSURL, AcceptsOnlyAbsoluteAddresses) {
    const auto url = NSURL::URLWithString("HTTP://Example.com:8080/d/USD/table.html");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "http");
    EXPECT_EQ(url->host(), "Example.com");
    for (const char* bad : {"", "table.html", "/d/USD/table.html", "http://exa mple.com/",
                            "http://[::1/", "127.0.0.1:8080/d/USD/table.html"})
        EXPECT_FALSE(NSURL::URLWithString(bad)) << bad;
    EXPECT_FALSE(NSURL::URLWithString(std::string("http://a\0b/", 11)));
}
