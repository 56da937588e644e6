// corvanta-demo-site [--port N] [--page FILE]
//
// Serves a sample rate page at /d/USD/table.html on 127.0.0.1, so that the pane can be tried
// without the internet. Port 0 (the default) takes any free port. Prints the site's address,
// ready to be CORVANTA_RATE_SITE, as its first line once it accepts connections.
#include <httplib.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

bool readFile(const std::string& path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    int port = 0;
    std::string pagePath = CORVANTA_DEMO_PAGE;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--port" && i + 1 < argc) {
            port = std::atoi(argv[++i]);
        } else if (argument == "--page" && i + 1 < argc) {
            pagePath = argv[++i];
        } else {
            std::cerr << "usage: corvanta-demo-site [--port N] [--page FILE]\n";
            return 2;
        }
    }
    std::string page;
    if (!readFile(pagePath, page)) {
        std::cerr << "corvanta-demo-site: cannot read " << pagePath << "\n";
        return 1;
    }

    httplib::Server server;
    server.Get("/d/USD/table.html", [&page](const httplib::Request&, httplib::Response& response) {
        response.set_content(page, "text/html; charset=utf-8");
    });
    const bool bound = port == 0 ? (port = server.bind_to_any_port("127.0.0.1")) > 0
                                 : server.bind_to_port("127.0.0.1", port);
    if (!bound) {
        std::cerr << "corvanta-demo-site: cannot listen on 127.0.0.1:" << port << "\n";
        return 1;
    }
    std::cout << "http://127.0.0.1:" << port << std::endl;
    return server.listen_after_bind() ? 0 : 1;
}
