#include "platform/CoreFoundation/CoreFoundation.h"
#include "platform/CoreFoundation/PreferredLanguages.h"
#include "platform/CoreFoundation/PropertyListFile.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestBundles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// The locale variables cleared, then `assignments` ("NAME=value") set.
void useLocale(ScopedEnvironment& environment,
               std::initializer_list<std::pair<const char*, const char*>> assignments) {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.set(name, nullptr);
    for (const auto& [name, value] : assignments)
        environment.set(name, value);
}

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

TEST(PreferredLanguages, ComeFromTheLocaleVariablesInOrder) {
    ScopedEnvironment environment;
    useLocale(environment,
              {{"LANGUAGE", "de_CH:fr"}, {"LC_MESSAGES", "pt_BR.UTF-8@x"}, {"LANG", "it_IT"}});
    EXPECT_EQ(PreferredLanguages(),
              (std::vector<std::string>{"de_CH", "de", "fr", "pt_BR", "pt", "en"}));
    useLocale(environment, {{"LC_ALL", "en_GB.UTF-8"}, {"LANG", "de_DE"}});
    EXPECT_EQ(PreferredLanguages(), (std::vector<std::string>{"en_GB", "en"}));
    useLocale(environment, {{"LANG", "C.UTF-8"}});
    EXPECT_EQ(PreferredLanguages(), (std::vector<std::string>{"en"}));
    // Names that could leave the bundle's folder are no languages.
    useLocale(environment, {{"LANGUAGE", "../../etc:a/b"}, {"LANG", "POSIX"}});
    EXPECT_EQ(PreferredLanguages(), (std::vector<std::string>{"en"}));
}

TEST_F(LocalizedTable, FindsTheUsersLanguageThenEnglish) {
    ScopedEnvironment environment;
    useLocale(environment, {{"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Hinzuf\xC3\xBCgen");
    // A key the German table lacks comes from the English one.
    EXPECT_EQ(lookUp(bundle_.get(), "Clear"), "Clear list");
    useLocale(environment, {{"LANG", "de_CH.UTF-8"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Dazutun");
    useLocale(environment, {{"LANGUAGE", "fr:de"}, {"LANG", "fr_FR"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Hinzuf\xC3\xBCgen");
    useLocale(environment, {{"LC_ALL", "C"}, {"LANG", "de_DE"}});
    EXPECT_EQ(lookUp(bundle_.get(), "Add"), "Add");
    useLocale(environment, {});
    EXPECT_EQ(lookUp(bundle_.get(), "Add", nullptr, nullptr), "Add (default)");
}

TEST_F(LocalizedTable, MissingTextsFallBackToValueThenKey) {
    ScopedEnvironment environment;
    useLocale(environment, {{"LANG", "en_US.UTF-8"}});
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
    useLocale(environment, {{"LANGUAGE", "fr:it"}});
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
