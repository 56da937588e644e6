// SPDX-License-Identifier: MIT
// Sets environment variables for one test and puts the old values back afterwards.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
    }

    // Sets `name`, or unsets it when `value` is null.
    void set(const std::string& name, const char* value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            setenv(name.c_str(), value, 1);
        else
            unsetenv(name.c_str());
    }

    // The locale variables (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) cleared, then `assignments`
    // set: the user's language exactly as a test wants it.
    void setLocale(std::initializer_list<std::pair<const char*, const char*>> assignments) {
        for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
            set(name, nullptr);
        for (const auto& [name, value] : assignments)
            set(name, value);
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
