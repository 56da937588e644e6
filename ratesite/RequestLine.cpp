// SPDX-License-Identifier: MIT
#include "ratesite/RequestLine.h"

#include <cctype>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

// The path of an absolute-form target ("http://host:port/path?query"); "/" when it names only
// the host.
std::string_view pathOfAbsolute(std::string_view target) {
    const size_t authority = target.find("://") + 3;
    const size_t path = target.find_first_of("/?", authority);
    if (path == std::string_view::npos || target[path] == '?') return "/";
    return target.substr(path);
}

} // namespace

std::optional<RequestLine> ParseRequestLine(std::string_view line) {
    const size_t firstSpace = line.find(' ');
    if (firstSpace == 0 || firstSpace == std::string_view::npos) return std::nullopt;
    const size_t secondSpace = line.find(' ', firstSpace + 1);
    if (secondSpace == std::string_view::npos || secondSpace == firstSpace + 1) return std::nullopt;
    const std::string_view version = line.substr(secondSpace + 1);
    if (version.size() != 8 || !version.starts_with("HTTP/1.") || !isDigit(version[7]))
        return std::nullopt;

    std::string_view target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    if (startsWithIgnoringCase(target, "http://") || startsWithIgnoringCase(target, "https://"))
        target = pathOfAbsolute(target);
    return RequestLine{line.substr(0, firstSpace), target.substr(0, target.find('?'))};
}
