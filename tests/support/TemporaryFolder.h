// SPDX-License-Identifier: MIT
// A fresh folder in the system's temporary folder for the length of a test, removed with all it
// holds afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// A folder of its own for the test, removed afterwards.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = std::filesystem::temp_directory_path() / "corvanta-test.XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
