// SPDX-License-Identifier: MIT
// The programs in German and French, as the locale variables choose: corvanta-prefs
// --screenshot (the pane's texts from its bundle's string tables, the host's from Qt's
// translations) and corvanta-menu --print (its texts, its figures with a decimal comma, and
// amounts read as the language writes them), against the real rate site speaking the same
// language.
#include "base/Identity.h"
#include "platform/CoreFoundation/CoreFoundation.h"
#include "settings/CorvantaSettings.h"
#include "tests/ratesite/RateSiteProcess.h"
#include "tests/support/HistoryFeed.h"
#include "tests/support/ProgramLines.h"
#include "tests/support/RunProgram.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TemporaryConfigHome.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

struct Language {
    const char* locale;   // LANGUAGE
    const char* chosen;   // the Countries setting, in the site's names in that language
    Lines rates;          // --print
    Lines amount;         // --print --base GBP --amount <written>
    const char* written;  // the amount as the language writes it
    Lines pane;           // the --screenshot summary
    std::string notSaved; // the message bar's text when the settings cannot be saved
};

// The ECB's rates of 2020-12-10 against 2020-12-09, moved to recent days.
class InLanguage : public ::testing::Test {
protected:
    void start(const Language& language) {
        environment_.set("XDG_CACHE_HOME", cache_.path().c_str());
        environment_.setLocale({{"LANGUAGE", language.locale}, {"LANG", "C.UTF-8"}});
        feed_.serve(Redated(HistoryFeed(), TodayUtc()));
        site_ = std::make_unique<SiteProcess>(
            std::vector<std::string>{CORVANTA_RATE_SITE_PATH, "--port", "0", "--feed", feed_.url()},
            cache_.path() / "site.log");
        const std::string address = site_->address().value_or("");
        ASSERT_TRUE(address.starts_with("http://127.0.0.1:")) << site_->log();
        environment_.set("CORVANTA_RATE_SITE", address.c_str());
        CFRef<CFStringRef> chosen(CFStringCreateWithUTF8(language.chosen));
        CFPreferencesSetAppValue(CorvantaSettingsCountriesKey(), chosen.get(),
                                 CorvantaSettingsAppID());
        ASSERT_TRUE(CFPreferencesAppSynchronize(CorvantaSettingsAppID()));
    }

    void check(const Language& language) {
        ASSERT_NO_FATAL_FAILURE(start(language));
        ProgramRun run = RunProgram({CORVANTA_MENU_PATH, "--print"});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(ProgramLines(run.output), language.rates);
        run = RunProgram(
            {CORVANTA_MENU_PATH, "--print", "--base", "GBP", "--amount", language.written});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(ProgramLines(run.output), language.amount);

        const std::string picture = (cache_.path() / "pane.png").string();
        run = RunProgram({CORVANTA_PREFS_PATH, "--screenshot", picture, CORVANTA_PANE_BUNDLE});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(ProgramLines(run.output), language.pane);

        // The host's own text, before a reason that comes from the system (in its own words).
        const fs::path blocked = cache_.path() / "config-is-a-file";
        std::ofstream(blocked) << "in the way";
        environment_.set("XDG_CONFIG_HOME", blocked.c_str());
        run = RunProgram({CORVANTA_PREFS_PATH, "--screenshot", picture, CORVANTA_PANE_BUNDLE});
        EXPECT_NE(run.output.find("Message: \"" + language.notSaved + "cannot create the folder " +
                                  blocked.string() + ": "),
                  std::string::npos)
            << run.output;
    }

    TemporaryConfigHome home_;
    TemporaryFolder cache_;
    ScopedEnvironment environment_;
    FeedServer feed_;
    std::unique_ptr<SiteProcess> site_;
};

const char* const kVersion = "\"Corvanta " CORVANTA_VERSION "\"";

} // namespace

TEST_F(InLanguage, German) {
    check({"de",
           "Euro,Britisches Pfund,Japanischer Yen,US-Dollar",
           {"Kurse pro US-Dollar:", "Euro: 0.825423 (-0,05%)",
            "Britisches Pfund: 0.751960 (+1,17%)", "Japanischer Yen: 104.440776 (+0,33%)"},
           {"1.250,50 Britische Pfund in:", "Euro: 1372,67", "Japanischer Yen: 173683,61",
            "US-Dollar: 1662,99"},
           "1.250,50",
           {"Wechselkurse im Menü anzeigen: on",
            "Verfügbare Währungen: 32 rows: Australischer Dollar, Brasilianischer Real, Britisches "
            "Pfund, Bulgarischer Lew, Dänische Krone, ...",
            "Währungen im Menü: \"Euro,Britisches Pfund,Japanischer Yen,US-Dollar\"",
            std::string("Version: ") + kVersion},
           "Die Einstellungen konnten nicht gespeichert werden: "});
}

TEST_F(InLanguage, French) {
    check(
        {"fr",
         "euro,livre sterling,yen japonais,dollar des États-Unis",
         {"Cours par dollar des États-Unis\u00a0:", "euro\u00a0: 0.825423 (-0,05%)",
          "livre sterling\u00a0: 0.751960 (+1,17%)", "yen japonais\u00a0: 104.440776 (+0,33%)"},
         {"1 250,50 livres sterling en\u00a0:", "euro\u00a0: 1372,67",
          "yen japonais\u00a0: 173683,61", "dollar des États-Unis\u00a0: 1662,99"},
         "1 250,50",
         {"Afficher les taux de change dans le menu: on",
          "Devises disponibles: 32 rows: baht thaïlandais, couronne danoise, couronne islandaise, "
          "couronne norvégienne, couronne suédoise, ...",
          "Devises du menu: \"euro,livre sterling,yen japonais,dollar des États-Unis\"",
          std::string("Version: ") + kVersion},
         "Les réglages n’ont pas pu être enregistrés\u00a0: "});
}

// The first of LANGUAGE's entries, then LC_ALL, LC_MESSAGES and LANG, that the menu has a
// translation for; English when English comes first or none is named.
TEST(Languages, TheLocaleVariablesChooseTheLanguage) {
    TemporaryConfigHome home;
    CFPreferencesSetAppValue(CorvantaSettingsOnKey(), kCFBooleanFalse, CorvantaSettingsAppID());
    ASSERT_TRUE(CFPreferencesAppSynchronize(CorvantaSettingsAppID()));
    const std::string german = "Das Kursmenü ist ausgeschaltet.";
    const std::string french = "Le menu des cours est désactivé.";
    const std::string english = "The rate menu is switched off.";
    struct Case {
        std::vector<std::pair<const char*, const char*>> locale;
        const std::string& expected;
    } cases[] = {
        {{{"LANGUAGE", "de"}}, german},
        {{{"LANGUAGE", "fr_CA"}, {"LANG", "de_DE.UTF-8"}}, french},
        {{{"LANGUAGE", "es:pt_BR:fr"}}, french}, // languages without a translation are passed
        {{{"LANGUAGE", "en_GB:de"}}, english},   // English itself is a choice
        {{{"LC_ALL", "de_AT.UTF-8@euro"}, {"LANG", "fr_FR.UTF-8"}}, german},
        {{{"LC_MESSAGES", "fr_BE.UTF-8"}, {"LANG", "de_DE.UTF-8"}}, french},
        {{{"LANG", "de_CH.UTF-8"}}, german},
        {{{"LANG", "C.UTF-8"}}, english},
        {{}, english},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment;
        environment.setLocale({});
        for (const auto& [name, value] : c.locale)
            environment.set(name, value);
        const ProgramRun run = RunProgram({CORVANTA_MENU_PATH, "--print"});
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.output, c.expected + "\n") << (c.locale.empty() ? "" : c.locale[0].second);
    }
}
