// SPDX-License-Identifier: MIT
// The first line of an HTTP/1.x request: "GET /d/USD/table.html HTTP/1.1", or with the target
// in absolute form ("GET http://127.0.0.1:27315/d/USD/table.html HTTP/1.1"), which a server
// must accept too.
#pragma once

#include <optional>
#include <string_view>

struct RequestLine {
    std::string_view method;
    std::string_view path; // without the scheme, the authority and the query
};

// The method and path of `line` (without its line end), or nothing when it is not a request
// line of HTTP/1.x: not three parts split by single spaces, or a version other than HTTP/1.n.
std::optional<RequestLine> ParseRequestLine(std::string_view line);
