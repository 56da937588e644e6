// SPDX-License-Identifier: MIT
// Captures what NSLog writes to standard error during a scope, as lines.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

class LogCapture {
public:
    LogCapture() { testing::internal::CaptureStderr(); }
    ~LogCapture() {
        if (!taken_) testing::internal::GetCapturedStderr();
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() {
        taken_ = true;
        std::istringstream text(testing::internal::GetCapturedStderr());
        std::vector<std::string> out;
        for (std::string line; std::getline(text, line);)
            out.push_back(line);
        return out;
    }

private:
    bool taken_ = false;
};
