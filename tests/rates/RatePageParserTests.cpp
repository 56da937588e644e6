// SPDX-License-Identifier: MIT
#include "rates/RatePage.h"
#include "rates/ReferenceRatePageParse.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sstream>

namespace {

const std::string kOpen = "<td><font face=\"Verdana\" size=-1>&nbsp;&nbsp;";
const std::string kClose = "&nbsp;&nbsp;</font></td>";

std::string cell(const std::string& name) {
    return kOpen + name + kClose;
}
std::string link(const std::string& rate) {
    return "<td><a href=\"/g\" class=\"menu\">" + rate + "</a>&nbsp;</font></td>";
}

// "name<TAB>rate" lines, as the .expected fixtures hold them.
RateArray readExpected(const std::string& fixture) {
    std::istringstream lines(ReadFixture(fixture));
    RateArray rates;
    for (std::string line; std::getline(lines, line);) {
        const size_t tab = line.find('\t');
        rates.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return rates;
}

} // namespace

TEST(RatePageParser, ParsesTheFixturePagesInPageOrder) {
    for (const char* name : {"realistic-50", "edge-cases"}) {
        const std::string page = ReadFixture(std::string(name) + ".html");
        const RateArray expected = readExpected(std::string(name) + ".expected");
        EXPECT_EQ(ParseRatePage(page), expected) << name;
        EXPECT_EQ(ReferenceParseRatePage(page), expected) << name;
    }
    EXPECT_EQ(ParseRatePage(ReadFixture("realistic-50.html")).size(), 50u);
}

TEST(RatePageParser, PageWithoutNameCellsGivesNoEntries) {
    EXPECT_TRUE(ParseRatePage("").empty());
    EXPECT_TRUE(ParseRatePage("<html><body>" + link("1.0") + "</body></html>").empty());
    // Openings without any closing: no names, and the scan stops.
    std::string unclosed;
    for (int i = 0; i < 1000; ++i)
        unclosed += kOpen + "Name";
    EXPECT_TRUE(ParseRatePage(unclosed).empty());
}

TEST(RatePageParser, CellClosedOnlyAfterTheNextOpeningGivesNoName) {
    // The closing belongs to the inner cell; the outer one would otherwise swallow its markup.
    const std::string page = kOpen + "Outer " + cell("Inner") + link("2.5");
    EXPECT_EQ(ParseRatePage(page), (RateArray{{"Inner", "2.5"}}));
}

TEST(RatePageParser, MatchesByUnicodeCaseFoldingAndKeepsTheNamesAsWritten) {
    // "ÉCU" and "écu" share the rate after the first; KELVIN SIGN folds to "k" and LONG S to
    // "s", which changes byte lengths in the folded text.
    const std::string page = cell("ÉCU") + link("1.5") + cell("écu") + link("9") +
                             "<td><font face=\"Verdana\" \xC5\xBFize=-1>&nbsp;&nbsp;\xE2\x84\xAA"
                             "ina&nbsp;&nbsp;</font></td>" +
                             link("7.25") + cell("kina") + link("8");
    const RateArray expected{
        {"ÉCU", "1.5"}, {"écu", "1.5"}, {"\xE2\x84\xAAina", "7.25"}, {"kina", "7.25"}};
    EXPECT_EQ(ParseRatePage(page), expected);
    EXPECT_EQ(ReferenceParseRatePage(page), expected);
}

TEST(RatePageParser, NameWithoutAnyLaterRateKeepsItsPlaceWithAnEmptyRate) {
    const std::string page =
        cell("First") + link("1") + cell("Second") + cell("Third") + "class=\"menu\">never closed";
    EXPECT_EQ(ParseRatePage(page), (RateArray{{"First", "1"}, {"Second", ""}, {"Third", ""}}));
}

TEST(RatePageParser, OverlongRateTextIsNotTaken) {
    const std::string longest(RatePatterns::kLongestRate, '9');
    EXPECT_EQ(ParseRatePage(cell("A") + link(longest)), (RateArray{{"A", longest}}));
    EXPECT_EQ(ParseRatePage(cell("A") + link(longest + "9")), (RateArray{{"A", ""}}));
}

// Pages built from pieces of the markup, in mixed case, with names that fold alike, compared
// with the literal algorithm.
TEST(RatePageParser, AgreesWithTheLiteralAlgorithmOnRandomPages) {
    const std::vector<std::string> pieces{kOpen,
                                          kOpen,
                                          "<TD><FONT face=\"verdana\" SIZE=-1>&NBSP;&nbsp;",
                                          kClose,
                                          kClose,
                                          "&NBSP;&NBSP;</FONT></TD>",
                                          "&nbsp;",
                                          "&nbsp;&nbsp;",
                                          "Euro",
                                          "EURO",
                                          "euro",
                                          "ſ",
                                          "\xE2\x84\xAA",
                                          "K",
                                          "k",
                                          "Dollar",
                                          "class=\"menu\">",
                                          "CLASS=\"Menu\">",
                                          "1.25",
                                          "</a>&nbsp;</font></td>",
                                          "</A>&NBSP;</FONT></TD>",
                                          "</a>",
                                          "<td>",
                                          " ",
                                          "&",
                                          "É",
                                          "é"};
    std::mt19937 random(2026);
    for (int round = 0; round < 3000; ++round) {
        std::string page;
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i)
            page += pieces[random() % pieces.size()];
        ASSERT_EQ(ParseRatePage(page), ReferenceParseRatePage(page)) << page;
    }
}

// Hostile pages: every one must parse quickly, whatever it gives. One is as large as a page
// can be; the others are smaller to keep the sanitizer run short (the benchmark covers size).
TEST(RatePageParser, HostilePagesStayFast) {
    const size_t size = 1024 * 1024;
    auto repeated = [](const std::string& unit, size_t size) {
        std::string page;
        page.reserve(size + unit.size());
        while (page.size() + unit.size() <= size)
            page += unit;
        return page;
    };
    std::string distinct;
    for (int i = 0; distinct.size() < size; ++i)
        distinct += cell("Name" + std::to_string(i) + "&nbsp;&nbsp;x");
    std::string sharedLongRate;
    for (int i = 0; sharedLongRate.size() < size / 2; ++i)
        sharedLongRate += cell("N" + std::to_string(i));
    sharedLongRate += link(std::string(size / 2, '7'));

    struct Case {
        const char* name;
        std::string page;
        long entries; // -1: any number
    };
    const Case cases[] = {
        {"openings", repeated(kOpen, 8 * size), 0},
        {"openings then one closing", repeated(kOpen, size) + kClose, 1},
        {"nul bytes", std::string(size, '\0'), 0},
        {"frames", repeated("&nbsp;", size), 0},
        {"one name many times", repeated(cell("EUR"), size), long(size / cell("EUR").size())},
        {"distinct names", distinct, -1},
        {"names sharing a long rate", sharedLongRate, -1},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const RateArray rates = ParseRatePage(c.page);
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (c.entries >= 0) {
            EXPECT_EQ(long(rates.size()), c.entries) << c.name;
        }
        // Generous: the bound is about the shape of the growth, and sanitizers slow us down.
        EXPECT_LT(seconds, 10.0) << c.name;
    }
}

TEST(RatePageParser, BinaryAndTruncatedPagesDoNotBreakTheParse) {
    std::mt19937 random(7);
    const std::string realistic = ReadFixture("realistic-50.html");
    for (int round = 0; round < 200; ++round) {
        std::string bytes(random() % 4096, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random());
        ParseRatePage(bytes);
        ParseRatePage(realistic.substr(0, random() % realistic.size()));
    }
    // Truncated inside the last name cell: that cell gives nothing, the others stand.
    const size_t cut = realistic.rfind("&nbsp;&nbsp;</font>");
    EXPECT_EQ(ParseRatePage(realistic.substr(0, cut + 3)).size(), 49u);
}

TEST(RateArrayDescription, RendersEveryEntryOnOneLine) {
    EXPECT_EQ(DescribeRateArray({}), "()");
    EXPECT_EQ(DescribeRateArray({{"Euro", "0.92"}, {"", ""}}),
              "({country = \"Euro\"; rate = \"0.92\";}, {country = \"\"; rate = \"\";})");
    const std::string hostile = DescribeRateArray({{"a\"b\\c\nCorvanta: forged\r\t\x01", "1"}});
    EXPECT_EQ(hostile,
              "({country = \"a\\\"b\\\\c\\nCorvanta: forged\\r\\t\\u0001\"; rate = \"1\";})");
}

// A page of 8 MiB of tiny cells once gave a log line of 18 MB.
TEST(RateArrayDescription, StopsAfterItsBoundAndSaysHowManyEntriesWereLeftOut) {
    const RateArray many(500000, RateEntry{"x", "1"});
    const std::string line = DescribeRateArray(many);
    EXPECT_LE(line.size(), kMaxRateArrayDescription + 64);
    std::size_t shown = 0;
    for (std::size_t at = 0; (at = line.find("{country", at)) != std::string::npos; ++at)
        ++shown;
    EXPECT_GT(shown, 1000u);
    EXPECT_TRUE(
        line.ends_with(", ... " + std::to_string(many.size() - shown) + " more entries left out)"))
        << line.substr(line.size() - 80);
    EXPECT_EQ(DescribeRateArray({{"Euro", "0.92"}, {"Yen", "150"}}, 40),
              "({country = \"Euro\"; rate = \"0.92\";}, ... 1 more entries left out)");
}
