// SPDX-License-Identifier: MIT
// Pane bundles for the host's tests, made around the test pane library (TestPane.cpp).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A temporary folder with one pane bundle, removed when the test ends.
class TestBundle {
public:
    TestBundle(const std::string& info, bool withLibrary, bool withView) {
        static int count = 0;
        folder_ = std::filesystem::temp_directory_path() /
                  ("corvanta-host-" + std::to_string(getpid()) + "-" + std::to_string(++count));
        path_ = folder_ / "Test.prefPane";
        std::filesystem::create_directories(path_ / "Contents" / "Linux");
        std::filesystem::create_directories(path_ / "Contents" / "Resources");
        std::ofstream(path_ / "Contents" / "Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
            << "<key>CFBundleName</key><string>Test</string>"
            << "<key>CFBundleExecutable</key><string>TestPane.so</string>" << info
            << "</dict></plist>\n";
        if (withLibrary)
            std::filesystem::create_symlink(CORVANTA_TEST_PANE_PATH,
                                            path_ / "Contents/Linux/TestPane.so");
        if (withView)
            std::ofstream(path_ / "Contents/Resources/Test.ui")
                << "<ui version=\"4.0\"><widget class=\"QWidget\" name=\"view\">"
                   "<widget class=\"QLabel\" name=\"m_field\">"
                   "<property name=\"accessibleName\"><string>Field</string></property>"
                   "</widget></widget></ui>\n";
    }
    ~TestBundle() { std::filesystem::remove_all(folder_); }
    std::string path() const { return path_.string(); }
    std::string folder() const { return folder_.string(); }

private:
    std::filesystem::path folder_, path_;
};

inline constexpr const char* kTestPaneInfo = "<key>NSPrincipalClass</key><string>TestPane</string>"
                                             "<key>NSMainNibFile</key><string>Test</string>";
