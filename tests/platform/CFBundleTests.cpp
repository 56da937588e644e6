// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CoreFoundation.h"
#include "tests/support/TestBundles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

using test_bundles::freshFolder;
using test_bundles::makeBundle;

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

TEST(CFBundle, OnlyOpenedBundlesAreFoundByIdentifier) {
    fs::path folder = freshFolder("corvanta-panes-");
    const fs::path path = makeBundle(folder, "Found", "com.example.found");
    EXPECT_EQ(CFBundleGetBundleWithIdentifier(CFSTR("com.example.found")), nullptr);
    CFBundleRef opened = CFBundleCreateWithPath(path.string());
    ASSERT_NE(opened, nullptr);
    CFRelease(opened);
    // Once opened it stays open, and found, for the life of the process.
    CFBundleRef found = CFBundleGetBundleWithIdentifier(CFSTR("com.example.found"));
    EXPECT_EQ(found, opened);
    EXPECT_TRUE(CFEqual(CFBundleGetValueForInfoDictionaryKey(found, CFSTR("CFBundleName")),
                        CFSTR("Found")));
    fs::remove_all(folder);
}
