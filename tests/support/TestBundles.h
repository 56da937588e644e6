// SPDX-License-Identifier: MIT
// Bundles made by tests in throw-away folders.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

namespace test_bundles {

namespace fs = std::filesystem;

// An empty folder of this name and the process id under the temporary folder.
inline fs::path freshFolder(const std::string& name) {
    fs::path folder = fs::temp_directory_path() / (name + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// Makes Name.prefPane/Contents/{Info.plist,Resources/Main.ui} under `parent`.
inline fs::path makeBundle(const fs::path& parent, const std::string& name, const std::string& id) {
    fs::path bundle = parent / (name + ".prefPane");
    fs::create_directories(bundle / "Contents" / "Resources");
    std::ofstream(bundle / "Contents" / "Info.plist")
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        << "<key>CFBundleIdentifier</key><string>" << id << "</string>"
        << "<key>CFBundleName</key><string>" << name << "</string>"
        << "<key>CFBundleExecutable</key><string>lib" << name << ".so</string>"
        << "<key>Count</key><integer>3</integer></dict></plist>\n";
    std::ofstream(bundle / "Contents" / "Resources" / "Main.ui") << "<ui/>";
    return bundle;
}

// Writes Resources/<language>.lproj/<table>.strings as an XML property list of texts. The
// entries go in as they are: they must already be escaped for XML.
inline void writeStringsTable(const fs::path& bundle, const std::string& language,
                              const std::string& table,
                              const std::map<std::string, std::string>& entries) {
    fs::path folder = bundle / "Contents" / "Resources" / (language + ".lproj");
    fs::create_directories(folder);
    std::ofstream out(folder / (table + ".strings"));
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>";
    for (const auto& [key, text] : entries)
        out << "<key>" << key << "</key><string>" << text << "</string>";
    out << "</dict></plist>\n";
}

} // namespace test_bundles
