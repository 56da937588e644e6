// SPDX-License-Identifier: MIT
// Reading the fixture files of tests/fixtures.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

inline std::string ReadFixture(const std::string& name) {
    const char* folder = std::getenv("CORVANTA_TEST_FIXTURES");
    const std::string path = std::string(folder ? folder : "tests/fixtures") + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("missing fixture " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
