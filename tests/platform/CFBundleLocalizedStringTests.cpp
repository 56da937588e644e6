// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/CoreFoundation.h"
#include "platform/CoreFoundation/PropertyListFile.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestBundles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::string lookUp(CFBundleRef bundle, const char* key, CFStringRef value = nullptr,
                   CFStringRef table = CFSTR("LocalizedStrings")) {
    CFRef<CFStringRef> keyText(CFStringCreateWithUTF8(key));
    CFRef<CFStringRef> text(CFBundleCopyLocalizedString(bundle, keyText.get(), value, table));
    return text ? std::string(CFStringGetUTF8(text.get())) : "(null)";
}

class LocalizedTable : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder of its own per test: tables once read stay cached for the process.
        static int made = 0;
        folder_ = test_bundles::freshFolder("corvanta-strings-" + std::to_string(++made) + "-");
        fs::path path = test_bundles::makeBundle(folder_, "Texts", "com.example.texts");
        test_bundles::writeStringsTable(path, "en", "LocalizedStrings",
                                        {{"Add", "Add"}, {"Clear", "Clear list"}});
        test_bundles::writeStringsTable(path, "de", "LocalizedStrings",
                                        {{"Add", "Hinzuf\xC3\xBCgen"}});
        test_bundles::writeStringsTable(path, "de_CH", "LocalizedStrings", {{"Add", "Dazutun"}});
        test_bundles::writeStringsTable(path, "en", "Localizable", {{"Add", "Add (default)"}});
        bundle_ = CFRef<CFBundleRef>(CFBundleCreateWithPath(path.string()));
        ASSERT_TRUE(bundle_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    CFRef<CFBundleRef> bundle_;
};

} // namespace

TEST_F(LocalizedTable, FindsTheUsersLanguageThenEnglish) {
    ScopedEnvironment environment;
    environment.setLocale({{"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Hinzuf\xC3\xBCgen");
    // A key the German table lacks comes from the English one.
    EXPECT_EQ(lookUp(bundle_.get(), "Clear"), "Clear list");
    environment.setLocale({{"LANG", "de_CH.UTF-8"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Dazutun");
    environment.setLocale({{"LANGUAGE", "fr:de"}, {"LANG", "fr_FR"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Hinzuf\xC3\xBCgen");
    environment.setLocale({{"LC_ALL", "C"}, {"LANG", "de_DE"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Add");
    environment.setLocale({});
    EXPECT_EQ(lookUp(bundle_.get(), "Add", nullptr, nullptr), "Add (default)");
}

TEST_F(LocalizedTable, MissingTextsFallBackToValueThenKey) {
    ScopedEnvironment environment;
    environment.setLocale({{"LANG", "en_US.UTF-8"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Reload", CFSTR("Fetch again")), "Fetch again");
    EXPECT_EQ(lookUp(bundle_.get(), "Reload", CFSTR("")), "Reload");
    EXPECT_EQ(lookUp(bundle_.get(), "Reload"), "Reload");
    EXPECT_EQ(lookUp(bundle_.get(), "Add", nullptr, CFSTR("NoSuchTable")), "Add");
    EXPECT_EQ(lookUp(bundle_.get(), "Add", nullptr, CFSTR("../en.lproj/LocalizedStrings")), "Add");
    EXPECT_EQ(lookUp(nullptr, "Add"), "Add");
    EXPECT_EQ(CFBundleCopyLocalizedString(bundle_.get(), nullptr, nullptr, nullptr), nullptr);

    // The caller owns what it gets.
    CFRef<CFStringRef> key(CFStringCreateWithUTF8("Reload"));
    CFRef<CFStringRef> text(
        CFBundleCopyLocalizedString(bundle_.get(), key.get(), nullptr, CFSTR("LocalizedStrings")));
    EXPECT_EQ(text.get(), key.get());
    EXPECT_EQ(CFGetRetainCount(key.get()), 2);
}

TEST_F(LocalizedTable, SkipsWhatIsNotATableOfTexts) {
    fs::path resources = fs::path(CFBundleGetResourcesPath(bundle_.get()));
    fs::create_directories(resources / "fr.lproj");
    std::ofstream(resources / "fr.lproj" / "LocalizedStrings.strings") << "\"Add\" = \"Ajouter\";";
    fs::create_directories(resources / "it.lproj");
    std::ofstream(resources / "it.lproj" / "LocalizedStrings.strings")
        << "<plist version=\"1.0\"><dict><key>Add</key><integer>1</integer>"
           "<key>Clear</key><string>Svuota</string></dict></plist>";
    ScopedEnvironment environment;
    environment.setLocale({{"LANGUAGE", "fr:it"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Add");
    EXPECT_EQ(lookUp(bundle_.get(), "Clear"), "Svuota");
}

TEST(PaneStringTable, HoldsTheInterfaceTexts) {
    const std::string table = CORVANTA_PANE_RESOURCES "/en.lproj/LocalizedStrings.strings";
    PlistPtr root = ReadPropertyListDictionary(table);
    ASSERT_TRUE(root) << table;
    auto texts = PlistDictionaryStrings(root.get());
    EXPECT_EQ(texts.size(), plist_dict_get_size(root.get()));
    for (const auto& [key, text] : texts) {
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_TRUE(CFRef<CFStringRef>(CFStringCreateWithUTF8(text))) << key;
    }
    // Keyed by the interface texts as they stand, keyboard markers included.
    EXPECT_NE(plist_dict_get_item(root.get(), "&Add Selected"), nullptr);
    EXPECT_NE(plist_dict_get_item(root.get(), "Show exchange rates in the menu"), nullptr);
}
