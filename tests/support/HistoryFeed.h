// SPDX-License-Identifier: MIT
// The ECB's 90-day history of 2020-12-10 (64 working days from 2020-09-14, 32 currencies, every
// currency on every day), and the changes tests make to it: days moved to recent dates (the
// rate site takes no day after tomorrow and never goes back in time) and entries taken out.
#pragma once

#include "tests/support/Fixtures.h"

#include <chrono>
#include <cstdio>
#include <string>

inline std::string HistoryFeed() {
    return ReadFixture("feeds/eurofxref-hist-90d-2020-12-10.xml");
}

// "YYYY-MM-DD" of a day.
inline std::string DayText(std::chrono::sys_days day) {
    const std::chrono::year_month_day date{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

// Today in UTC, as the rate site counts days.
inline std::chrono::sys_days TodayUtc() {
    return std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
}

// `feed` with every day moved by the same number of days, so that its newest day
// (2020-12-10) becomes `newest`; the days keep their order and their distances.
inline std::string Redated(std::string feed, std::chrono::sys_days newest) {
    using namespace std::chrono;
    const auto shift = newest - sys_days(year(2020) / December / 10);
    const std::string attribute = "time=\"";
    for (size_t at = feed.find(attribute); at != std::string::npos;
         at = feed.find(attribute, at + 1)) {
        const size_t start = at + attribute.size();
        const int y = std::stoi(feed.substr(start, 4));
        const unsigned m = static_cast<unsigned>(std::stoi(feed.substr(start + 5, 2)));
        const unsigned d = static_cast<unsigned>(std::stoi(feed.substr(start + 8, 2)));
        feed.replace(start, 10, DayText(sys_days(year(y) / month(m) / day(d)) + shift));
    }
    return feed;
}

// `feed` without the entry of `code` on the day dated `date`.
inline std::string WithoutEntry(std::string feed, const std::string& date,
                                const std::string& code) {
    const size_t day = feed.find("time=\"" + date + "\"");
    if (day == std::string::npos) return feed;
    const size_t entry = feed.find("<Cube currency=\"" + code + "\"", day);
    const size_t end = feed.find("/>", entry);
    if (entry == std::string::npos || end == std::string::npos || entry > feed.find("</Cube>", day))
        return feed;
    return feed.erase(entry, end + 2 - entry);
}
