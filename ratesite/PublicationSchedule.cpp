// SPDX-License-Identifier: MIT
#include "ratesite/PublicationSchedule.h"

#include <cstdio>
#include <memory>

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

std::string LatestExpectedPublication(std::chrono::system_clock::time_point now) {
    UErrorCode status = U_ZERO_ERROR;
    // Frankfurt's time: Central European Time, summer time included.
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone("Europe/Berlin"), icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) return {};
    const auto milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    calendar->setTime(static_cast<UDate>(milliseconds), status);
    if (calendar->get(UCAL_HOUR_OF_DAY, status) < 16) calendar->add(UCAL_DATE, -1, status);
    for (;;) {
        const int weekday = calendar->get(UCAL_DAY_OF_WEEK, status);
        if (U_FAILURE(status)) return {};
        if (weekday != UCAL_SATURDAY && weekday != UCAL_SUNDAY) break;
        calendar->add(UCAL_DATE, -1, status);
    }
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", calendar->get(UCAL_YEAR, status),
                  calendar->get(UCAL_MONTH, status) + 1, calendar->get(UCAL_DATE, status));
    return U_SUCCESS(status) ? std::string(date) : std::string();
}
