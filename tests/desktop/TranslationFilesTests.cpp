// SPDX-License-Identifier: MIT
// The translation files against the code: every text the host and the menu show has a
// translation in each language, with the same placeholders, and every pane string table has
// the English table's keys. The .ts files are kept by hand (the menu's texts go through
// MenuText, which lupdate does not see), so a new text must not go without one unnoticed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = CORVANTA_SOURCE_DIR;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string unescapedXml(std::string text) {
    for (const auto& [entity, character] :
         {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}})
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string_view(entity).size(), character);
    return text;
}

// What `pattern` captures in the files: of each match, its first group that matched.
std::set<std::string> captured(const std::vector<fs::path>& files, const std::regex& pattern) {
    std::set<std::string> texts;
    for (const fs::path& file : files) {
        const std::string text = contentOf(file);
        for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
            for (std::size_t group = 1; group < it->size(); ++group)
                if ((*it)[group].matched) {
                    texts.insert((*it)[group]);
                    break;
                }
    }
    return texts;
}

std::vector<fs::path> sourcesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".cpp" || entry.path().extension() == ".h")
            files.push_back(entry.path());
    return files;
}

// A .ts file's translations by source text.
std::map<std::string, std::string> translationsIn(const fs::path& file) {
    static const std::regex message(
        "<source>([^<]*)</source>\\s*<translation>([^<]*)</translation>");
    std::map<std::string, std::string> translations;
    const std::string text = contentOf(file);
    for (std::sregex_iterator it(text.begin(), text.end(), message), end; it != end; ++it)
        translations[unescapedXml((*it)[1])] = unescapedXml((*it)[2]);
    return translations;
}

std::multiset<std::string> placeholdersOf(const std::string& text) {
    static const std::regex placeholder("%[0-9]");
    std::multiset<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), placeholder), end; it != end; ++it)
        found.insert(it->str());
    return found;
}

std::set<std::string> keysIn(const fs::path& table) {
    std::set<std::string> keys;
    for (const std::string& key : captured({table}, std::regex("<key>([^<]*)</key>")))
        keys.insert(unescapedXml(key));
    return keys;
}

} // namespace

TEST(TranslationFiles, EveryTextOfTheHostAndTheMenuIsTranslatedWithItsPlaceholders) {
    const std::string literal = "\"((?:[^\"\\\\]|\\\\.)*)\"";
    struct Program {
        const char* name;
        std::set<std::string> texts;
        std::set<std::string> outsideTheCode; // translated for texts of another change
    } programs[] = {
        {"host",
         captured(sourcesIn(kRoot / "host"), std::regex("translate\\(\\s*\"Host\",\\s*" + literal)),
         {"The exchange rates could not be loaded:", "Try Again"}},
        {"menu",
         captured(sourcesIn(kRoot / "menu"), std::regex("(?:MenuText|fixedText)\\(\\s*" + literal +
                                                        "|kRateMenuSwitchedOff = " + literal)),
         {}},
    };
    for (Program& program : programs) {
        EXPECT_GE(program.texts.size(), 4u) << program.name << ": the texts were not found";
        for (const char* language : {"de", "fr"}) {
            const fs::path file =
                kRoot / "data/translations" /
                (std::string("corvanta-") + program.name + "_" + language + ".ts");
            const std::map<std::string, std::string> translations = translationsIn(file);
            for (const std::string& text : program.texts) {
                const auto found = translations.find(text);
                ASSERT_NE(found, translations.end()) << file << " lacks \"" << text << "\"";
                EXPECT_FALSE(found->second.empty()) << file << ": " << text;
                EXPECT_EQ(placeholdersOf(found->second), placeholdersOf(text))
                    << file << ": " << text;
            }
            for (const auto& [text, translation] : translations)
                EXPECT_TRUE(program.texts.contains(text) || program.outsideTheCode.contains(text))
                    << file << " translates \"" << text << "\", which no code shows";
        }
    }
}

TEST(TranslationFiles, EveryPaneStringTableHasTheEnglishKeys) {
    const fs::path resources = kRoot / "pane/Resources";
    const std::set<std::string> english = keysIn(resources / "en.lproj/LocalizedStrings.strings");
    ASSERT_FALSE(english.empty());
    for (const char* language : {"de", "fr"})
        EXPECT_EQ(keysIn(resources / (std::string(language) + ".lproj/LocalizedStrings.strings")),
                  english)
            << language;
}
