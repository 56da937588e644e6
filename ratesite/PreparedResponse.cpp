// SPDX-License-Identifier: MIT
#include "ratesite/PreparedResponse.h"

#include <chrono>
#include <cstdio>

namespace {

PreparedResponse prepare(std::string_view status, std::string_view extraHeaders,
                         std::string_view contentType, std::string_view body) {
    PreparedResponse response;
    response.bytes = "HTTP/1.1 ";
    response.bytes += status;
    response.bytes += "\r\nContent-Type: ";
    response.bytes += contentType;
    response.bytes += "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
    response.bytes += extraHeaders;
    response.bytes += "Connection: close\r\n\r\n";
    response.headerLength = response.bytes.size();
    response.bytes += body;
    return response;
}

PreparedResponse prepareError(std::string_view status, std::string_view extraHeaders = {}) {
    return prepare(status, extraHeaders, "text/plain; charset=utf-8", std::string(status) + "\n");
}

} // namespace

std::string HttpDateOfDay(const std::string& date) {
    using namespace std::chrono;
    int y = 0;
    unsigned m = 0, d = 0;
    if (std::sscanf(date.c_str(), "%4d-%2u-%2u", &y, &m, &d) != 3) return {};
    const year_month_day day{year(y), month(m), std::chrono::day(d)};
    if (!day.ok()) return {};
    static constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const weekday weekday{sys_days(day)};
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02u %s %04d 00:00:00 GMT",
                  kWeekdays[weekday.c_encoding()], d, kMonths[m - 1], y);
    return text;
}

namespace {

// 200 with `body`, dated as the rates it shows.
PreparedResponse prepareRates(std::string_view contentType, const std::string& body,
                              const std::string& date) {
    std::string headers;
    if (const std::string modified = HttpDateOfDay(date); !modified.empty())
        headers = "Last-Modified: " + modified + "\r\n";
    // The rates change once a working day; a client should ask again rather than guess.
    headers += "Cache-Control: no-cache\r\n";
    return prepare("200 OK", headers, contentType, body);
}

} // namespace

PreparedResponse PreparePageResponse(const std::string& page, const std::string& date) {
    return prepareRates("text/html; charset=utf-8", page, date);
}

PreparedResponse PrepareHistoryResponse(const std::string& json, const std::string& date) {
    return prepareRates("application/json; charset=utf-8", json, date);
}

const PreparedResponse& BadRequestResponse() {
    static const PreparedResponse response = prepareError("400 Bad Request");
    return response;
}

const PreparedResponse& NotFoundResponse() {
    static const PreparedResponse response = prepareError("404 Not Found");
    return response;
}

const PreparedResponse& MethodNotAllowedResponse() {
    static const PreparedResponse response =
        prepareError("405 Method Not Allowed", "Allow: GET, HEAD\r\n");
    return response;
}

const PreparedResponse& TooLargeResponse() {
    static const PreparedResponse response = prepareError("431 Request Header Fields Too Large");
    return response;
}
