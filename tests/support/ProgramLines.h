// SPDX-License-Identifier: MIT
// What a program of ours printed, line by line, without the log lines and Qt's notes on
// drawing off screen that share its output in the tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

inline Lines ProgramLines(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with("Corvanta: ") && !line.starts_with("NSURLHandle: ") &&
            !line.starts_with("CFPreferences: ") && !line.starts_with("Screenshot: ") &&
            !line.starts_with("This plugin does not support"))
            lines.push_back(line);
    return lines;
}
