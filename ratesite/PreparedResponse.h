// SPDX-License-Identifier: MIT
// Whole HTTP responses, made once, so that answering a request is only a write.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct PreparedResponse {
    std::string bytes;       // status line, headers, blank line and body
    size_t headerLength = 0; // what a HEAD request gets

    std::string_view forMethod(bool head) const {
        return head ? std::string_view(bytes).substr(0, headerLength) : std::string_view(bytes);
    }
};

// 200 with the page, a Last-Modified of midnight (GMT) on `date` (YYYY-MM-DD).
PreparedResponse PreparePageResponse(const std::string& page, const std::string& date);
// The same for a history document (JSON).
PreparedResponse PrepareHistoryResponse(const std::string& json, const std::string& date);

// The answers to requests the site does not serve: 400, 404, 405, 431.
const PreparedResponse& BadRequestResponse();
const PreparedResponse& NotFoundResponse();
const PreparedResponse& MethodNotAllowedResponse();
const PreparedResponse& TooLargeResponse();

// "Fri, 02 Oct 2026 00:00:00 GMT" for "2026-10-02" (RFC 7231's date form).
std::string HttpDateOfDay(const std::string& date);
