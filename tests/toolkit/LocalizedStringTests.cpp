// SPDX-License-Identifier: MIT
#include "toolkit/LocalizedString.h"

#include "base/Identity.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestBundles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr const char* kPaneID = CORVANTA_PANE_BUNDLE_ID;

std::string_view textOf(CFStringRef text) {
    return CFStringGetUTF8(text);
}

// English texts.
void isolate(ScopedEnvironment& environment) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.set(name, nullptr);
    environment.set("LANG", "en_US.UTF-8");
}

// The pane's bundle with a table of its own.
fs::path makePaneBundle() {
    fs::path panes = test_bundles::freshFolder("corvanta-localized-");
    fs::path bundle = test_bundles::makeBundle(panes, "Corvanta", kPaneID);
    test_bundles::writeStringsTable(bundle, "en", "LocalizedStrings",
                                    {{"Add", "Add currency"}, {"Apply", "Apply now"}});
    test_bundles::writeStringsTable(bundle, "de", "LocalizedStrings",
                                    {{"Add", "Hinzuf\xC3\xBCgen"}});
    return bundle;
}

// Opens the pane's bundle once per process, as its host would; bundles stay open.
void ensurePaneBundle() {
    static const fs::path bundle = makePaneBundle();
    CFRef<CFBundleRef> opened(CFBundleCreateWithPath(bundle.string()));
    ASSERT_NE(CFBundleGetBundleWithIdentifier(CFSTR(CORVANTA_PANE_BUNDLE_ID)), nullptr);
}

} // namespace

// Must run before any test of this process loads the pane's bundle.
TEST(LocalizedString, WithoutTheBundleGivesTheKeyAndCachesNothing) {
    ScopedEnvironment environment;
    isolate(environment);
    if (CFBundleGetBundleWithIdentifier(CFSTR(CORVANTA_PANE_BUNDLE_ID)))
        GTEST_SKIP() << "the pane's bundle is already loaded in this process";

    CFStringRef add = LocalizedString(CFSTR("Add"));
    EXPECT_EQ(textOf(add), "Add");
    EXPECT_EQ(textOf(LocalizedString("Apply")), "Apply");
    // The character key's temporary is gone; the text handed out must outlive it.
    CFStringRef unknown = LocalizedString("Not in any table \xE2\x82\xAC");
    EXPECT_EQ(textOf(unknown), "Not in any table \xE2\x82\xAC");
    // Every call gets a fresh copy of its own key; nothing is kept by text.
    CFStringRef again = LocalizedString("Not in any table \xE2\x82\xAC");
    EXPECT_NE(again, unknown);
    EXPECT_TRUE(CFEqual(again, unknown));
    CFRef<CFStringRef> key(CFStringCreateWithUTF8("Clear"));
    CFRef<CFStringRef> equalKey(CFStringCreateWithUTF8("Clear"));
    EXPECT_EQ(LocalizedString(key.get()), key.get());
    EXPECT_EQ(LocalizedString(equalKey.get()), equalKey.get());
    // Repeated calls with one key object do not pile up references on it.
    const CFIndex references = CFGetRetainCount(key.get());
    for (int i = 0; i < 10; ++i)
        LocalizedString(key.get());
    EXPECT_EQ(CFGetRetainCount(key.get()), references);

    // Nothing was cached: once the bundle is there, its texts come back for the same keys.
    ensurePaneBundle();
    EXPECT_EQ(textOf(LocalizedString(CFSTR("Add"))), "Add currency");
    EXPECT_EQ(textOf(LocalizedString("Apply")), "Apply now");
    EXPECT_EQ(textOf(add), "Add");
}

TEST(LocalizedString, CachesTextsFoundThroughTheBundle) {
    ensurePaneBundle();
    ScopedEnvironment environment;
    isolate(environment);

    CFStringRef key = CFStringCreateWithUTF8("Add");
    CFStringRef text = LocalizedString(key);
    EXPECT_EQ(textOf(text), "Add currency");
    CFRelease(key); // the cache keeps what it needs of the key
    CFRef<CFStringRef> equalKey(CFStringCreateWithUTF8("Add"));
    EXPECT_EQ(LocalizedString(equalKey.get()), text);
    EXPECT_EQ(LocalizedString("Add"), text);
    EXPECT_EQ(LocalizedString(const_cast<__CFString*>(equalKey.get())), text);
    EXPECT_EQ(textOf(text), "Add currency");

    // A key the table lacks gives its own text, and that text is cached as well.
    CFRef<CFStringRef> missing(CFStringCreateWithUTF8("Reload"));
    CFStringRef reload = LocalizedString(missing.get());
    EXPECT_EQ(textOf(reload), "Reload");
    EXPECT_EQ(LocalizedString("Reload"), reload);

    // A cached text stays, even when the user's language changes.
    environment.set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(LocalizedString("Add"), text);
    EXPECT_EQ(textOf(text), "Add currency");

    // Calls do not take references the caller would have to give back.
    const CFIndex references = CFGetRetainCount(text);
    for (int i = 0; i < 10; ++i)
        LocalizedString("Add");
    EXPECT_EQ(CFGetRetainCount(text), references);
}

TEST(LocalizedString, NullAndInvalidKeysGiveNull) {
    EXPECT_EQ(LocalizedString(static_cast<CFStringRef>(nullptr)), nullptr);
    EXPECT_EQ(LocalizedString(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_EQ(LocalizedString(static_cast<__CFString*>(nullptr)), nullptr);
    EXPECT_EQ(LocalizedString("\xFF\xFE"), nullptr);
    EXPECT_EQ(LocalizedString("caf\xC3"), nullptr);
    EXPECT_EQ(textOf(LocalizedString("")), "");
}
