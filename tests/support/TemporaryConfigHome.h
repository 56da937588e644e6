// SPDX-License-Identifier: MIT
// Points XDG_CONFIG_HOME at a fresh folder for the life of a test, so that no test sees the
// real user's settings or another test's, and removes the folder afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class TemporaryConfigHome {
public:
    // In `base`, the system's temporary folder unless a test needs another file system.
    explicit TemporaryConfigHome(
        const std::filesystem::path& base = std::filesystem::temp_directory_path()) {
        std::string pattern = base / "corvanta-config.XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
        if (const char* previous = std::getenv("XDG_CONFIG_HOME")) previous_ = previous;
        setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~TemporaryConfigHome() {
        if (previous_)
            setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryConfigHome(const TemporaryConfigHome&) = delete;
    TemporaryConfigHome& operator=(const TemporaryConfigHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path preferencesFolder() const { return path_ / "preferences"; }
    std::filesystem::path preferencesFile(const std::string& appID) const {
        return preferencesFolder() / (appID + ".plist");
    }

private:
    std::filesystem::path path_;
    std::optional<std::string> previous_;
};
