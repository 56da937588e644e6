// SPDX-License-Identifier: MIT
// The menu's content in another language: its texts from a translator, its figures and the
// amounts it reads in that language's form.
#include "menu/MenuLanguage.h"
#include "menu/NumberForm.h"
#include "menu/RateMenuContent.h"
#include "tests/menu/MenuLines.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The menu speaks `language` with these translations while it lives.
class SpokenLanguage {
public:
    SpokenLanguage(const std::string& language, std::map<std::string, std::string> texts)
        : texts_(std::move(texts)) {
        SetMenuLanguage(language, [this](const char* english) {
            const auto found = texts_.find(english);
            return found == texts_.end() ? std::string() : found->second;
        });
    }
    ~SpokenLanguage() { SetMenuLanguage("en", {}); }

private:
    std::map<std::string, std::string> texts_;
};

const std::map<std::string, std::string> kGerman{{"Rates per %1:", "Kurse pro %1:"},
                                                 {"%1 %2 in:", "%1 %2 in:"},
                                                 {"%1: no rate", "%1: kein Kurs"}};

} // namespace

TEST(NumberForm, ReadsAnAmountInTheLanguagesFormFirstAndInEnglishWhenThatIsUnambiguous) {
    struct Case {
        const char* language;
        const char* written;
        std::optional<std::string> english;
    } cases[] = {
        {"en", "1,250.50", "1,250.50"},
        {"en", "1.250,50", std::nullopt},
        {"de", "1.250,50", "1,250.50"},
        {"de", " 1250,5\n", "1250.5"},
        {"de", "1250.50", "1250.50"}, // no German number: read as English
        {"de", "0.5", "0.5"},
        {"de", "1,250", "1.250"}, // both could read it: German wins, 1.25
        {"de", "1.250", "1,250"}, // and here 1250
        {"de", "1,250.50", "1,250.50"},
        {"de", "1.25.0", std::nullopt},
        {"de", "1 250,50", std::nullopt},
        {"fr", "1 250,50", "1,250.50"},
        {"fr", "1\u202f250,50", "1,250.50"},
        {"fr", "1\u00a0250", "1,250"},
        {"fr", "1.250,50", std::nullopt}, // no group "." in French, no decimal "," in English
        {"fr", "1250.50", "1250.50"},
        {"fr", "12,5", "12.5"},
        {"de_CH", "1’250.50", "1,250.50"}, // ICU's own form for Swiss German
        {"xx", "1,250.50", "1,250.50"},    // a language ICU does not know: English
    };
    for (const Case& c : cases)
        EXPECT_EQ(EnglishAmountText(c.written, NumberFormOf(c.language)), c.english)
            << c.language << " " << c.written;
}

TEST(NumberForm, WritesAComputedFigureWithTheLanguagesDecimalSeparator) {
    EXPECT_EQ(WithDecimalPoint("1151.09", NumberFormOf("en")), "1151.09");
    EXPECT_EQ(WithDecimalPoint("1151.09", NumberFormOf("de")), "1151,09");
    EXPECT_EQ(WithDecimalPoint("1151.09", NumberFormOf("fr_FR")), "1151,09");
}

TEST(MenuLanguage, FillsInPlaceholdersOnceAndFallsBackToTheEnglishText) {
    const SpokenLanguage german("de", kGerman);
    EXPECT_EQ(MenuText("Rates per %1:", "Euro"), "Kurse pro Euro:");
    EXPECT_EQ(MenuText("No currencies chosen"), "No currencies chosen"); // untranslated
    // A name that holds a placeholder is not filled in again.
    EXPECT_EQ(MenuText("%1: %2", "%2 Yen", "1,5"), "%2 Yen: 1,5");
}

TEST(MenuLanguage, TheContentSpeaksTheLanguageWithItsDecimalComma) {
    const RateArray perDollar{{"Euro", "0.890869"}, {"Yen", "n/a"}};
    RateHistory history;
    history.base = "USD";
    history.days = {"2026-12-08", "2026-12-09"};
    history.currencies = {{"EUR", "Euro", {"0.8898", "0.890869"}}};
    RateMenuState state{{"Euro", "Yen"}, &perDollar, false, false, std::nullopt};
    state.history = &history;
    const CurrencyWords words("de");
    state.words = &words;
    {
        const SpokenLanguage german("de", kGerman);
        EXPECT_EQ(MenuLines(RateMenuContentFor(state)),
                  (Lines{"Kurse pro US-Dollar:", "Euro: 0.890869 (+0,12%)", "Yen: kein Kurs"}));
        state.amount = AmountIn("1.250,50");
        ASSERT_EQ(state.amount, "1.250,50");
        const RateMenuContent content = RateMenuContentFor(state);
        EXPECT_EQ(MenuLines(content),
                  (Lines{"1.250,50 US-Dollar in:", "Euro: 1114,03", "Yen: kein Kurs"}));
        EXPECT_EQ(content.currencies[0].figure, "1114,03"); // copied as shown
        EXPECT_EQ(AmountIn("1,250.50.1"), std::nullopt);
    }
    // English again once the translations go.
    state.amount = AmountIn("1,250.50");
    EXPECT_EQ(MenuLines(RateMenuContentFor(state))[1], "Euro: 1114.03");
}
