#include "platform/CoreFoundation/CoreFoundation.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Makes Name.prefPane/Contents/{Info.plist,Resources/} under a fresh folder.
fs::path makeBundle(const fs::path& parent, const std::string& name, const std::string& id) {
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

fs::path freshFolder(const char* name) {
    fs::path folder = fs::temp_directory_path() / (std::string(name) + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

} // namespace

TEST(CFBundle, ReadsItsInfoAndFindsItsFiles) {
    fs::path folder = freshFolder("corvanta-bundle-");
    fs::path path = makeBundle(folder, "Sample", "com.example.sample");
    CFRef<CFBundleRef> bundle(CFBundleCreateWithPath(path.string()));
    ASSERT_TRUE(bundle);
    EXPECT_EQ(CFGetTypeID(bundle.get()), CFBundleGetTypeID());
    EXPECT_TRUE(CFEqual(CFBundleGetIdentifier(bundle.get()), CFSTR("com.example.sample")));
    EXPECT_TRUE(CFEqual(CFBundleGetValueForInfoDictionaryKey(bundle.get(), CFSTR("CFBundleName")),
                        CFSTR("Sample")));
    EXPECT_EQ(CFBundleGetValueForInfoDictionaryKey(bundle.get(), CFSTR("Count")), nullptr);
    EXPECT_EQ(CFBundleGetValueForInfoDictionaryKey(bundle.get(), CFSTR("Missing")), nullptr);
    EXPECT_EQ(CFBundleGetExecutablePath(bundle.get()),
              path.string() + "/Contents/Linux/libSample.so");
    EXPECT_EQ(CFBundleGetResourcePath(bundle.get(), "Main.ui"),
              path.string() + "/Contents/Resources/Main.ui");
    EXPECT_EQ(CFBundleGetResourcePath(bundle.get(), "Other.ui"), "");

    // The same folder opens as the same bundle, and it can be found by identifier.
    CFRef<CFBundleRef> again(CFBundleCreateWithPath((folder / "." / "Sample.prefPane").string()));
    EXPECT_EQ(again.get(), bundle.get());
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.sample")), bundle.get());
    fs::remove_all(folder);
}

TEST(CFBundle, RejectsFoldersThatAreNotBundles) {
    fs::path folder = freshFolder("corvanta-notbundle-");
    EXPECT_EQ(CFBundleCreateWithPath(folder.string()), nullptr);
    fs::create_directories(folder / "Contents");
    std::ofstream(folder / "Contents" / "Info.plist") << "not a property list";
    EXPECT_EQ(CFBundleCreateWithPath(folder.string()), nullptr);
    EXPECT_EQ(CFBundleCreateWithPath((folder / "missing").string()), nullptr);
    fs::remove_all(folder);
}

TEST(CFBundle, FindsUnloadedBundlesOnThePaneSearchPath) {
    fs::path folder = freshFolder("corvanta-panes-");
    makeBundle(folder, "Found", "com.example.found");
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.found")), nullptr);
    setenv("CORVANTA_PANE_PATH", ("/nonexistent:" + folder.string()).c_str(), 1);
    CFBundleRef found = CFBundleGetBundleWithIdentifier(CFSTR("com.example.found"));
    unsetenv("CORVANTA_PANE_PATH");
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(CFEqual(CFBundleGetValueForInfoDictionaryKey(found, CFSTR("CFBundleName")),
                        CFSTR("Found")));
    // Once loaded it stays found without the search path.
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.found")), found);
    fs::remove_all(folder);
}
