// SPDX-License-Identifier: MIT
#include "ratesite/RateKeeper.h"

#include "platform/Foundation/NSLog.h"
#include "ratesite/PublicationSchedule.h"
#include "ratesite/RateSitePages.h"

#include <cstdio>

namespace {

// YYYY-MM-DD of the day after `now` in UTC: the latest date a feed may carry, whatever the
// time zone its publisher or this machine keeps.
std::string dayAfter(RateKeeper::Clock::time_point now) {
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(now) +
                                          std::chrono::days(1)};
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02u-%02u", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
    return date;
}

const char* originName(RateKeeper::Origin origin) {
    switch (origin) {
    case RateKeeper::Origin::Snapshot:
        return "the bundled snapshot";
    case RateKeeper::Origin::Cache:
        return "the cache";
    case RateKeeper::Origin::Feed:
        return "the feed";
    }
    return "";
}

} // namespace

RateKeeper::RateKeeper(Settings settings, const CurrencyNames& names, RatePageStore& store)
    : settings_(std::move(settings)), names_(names), store_(store), cache_(settings_.cacheFolder) {}

void RateKeeper::loadKept() {
    // The snapshot first, so that a cache older than it is refused as older than the rates
    // held: whichever of the two is newer is served.
    if (!take(std::string(BundledSnapshot()), Origin::Snapshot, "the bundled snapshot"))
        NSLog("corvanta-rate-site: the bundled snapshot does not read as reference rates");
    const KeptFeedReading kept = cache_.read();
    for (const std::string& reason : kept.passedOver)
        NSLog("corvanta-rate-site: passed over the cache: %s", reason.c_str());
    if (kept.feed && take(kept.feed->document, Origin::Cache, cache_.documentPath()))
        validators_ = kept.feed->validators;
    publish();
}

void RateKeeper::refreshIfDue(Clock::time_point now, const std::atomic<bool>& cancel) {
    if (rates_.date >= LatestExpectedPublication(now)) return;
    const auto attemptTime = std::chrono::steady_clock::now();
    if (lastAttempt_ && attemptTime - *lastAttempt_ < settings_.retryInterval) return;
    lastAttempt_ = attemptTime;
    attempt(cancel);
}

void RateKeeper::attempt(const std::atomic<bool>& cancel) {
    // The snapshot's validators would not be the feed's; ask for the whole feed then.
    const FeedValidators known = origin_ == Origin::Snapshot ? FeedValidators{} : validators_;
    FeedAnswer answer = FetchFeed(settings_.feedUrl, known, cancel, settings_.fetchTimeoutCeiling);
    switch (answer.kind) {
    case FeedAnswer::Kind::NotModified:
        return;
    case FeedAnswer::Kind::Failed:
        NSLog("corvanta-rate-site: could not fetch the feed %s: %s; serving %s",
              settings_.feedUrl.c_str(), answer.failure.c_str(), describe().c_str());
        return;
    case FeedAnswer::Kind::Body:
        break;
    }
    if (!take(answer.body, Origin::Feed, "the feed " + settings_.feedUrl)) return;
    validators_ = answer.validators;
    if (!cache_.write({answer.body, validators_}))
        NSLog("corvanta-rate-site: could not keep the feed in %s", cache_.documentPath().c_str());
    publish();
}

bool RateKeeper::take(const std::string& document, Origin origin, const std::string& from) {
    ReferenceRatesReading reading = ReadReferenceRates(document);
    if (reading.rates) {
        // A date still to come would be kept as up to date and stop every later fetch; an
        // older one would replace newer rates.
        if (reading.rates->date > dayAfter(Clock::now())) {
            reading.refusal = "its date " + reading.rates->date + " is after tomorrow";
            reading.rates.reset();
        } else if (reading.rates->date < rates_.date) {
            reading.refusal = "its date " + reading.rates->date + " is older than the rates held";
            reading.rates.reset();
        }
    }
    if (!reading.rates) {
        NSLog("corvanta-rate-site: refused %s: %s%s%s", from.c_str(), reading.refusal.c_str(),
              rates_.date.empty() ? "" : "; still serving ", describe().c_str());
        return false;
    }
    for (const std::string& skipped : reading.skipped)
        NSLog("corvanta-rate-site: %s: left out an entry: %s", from.c_str(), skipped.c_str());
    rates_ = std::move(*reading.rates);
    origin_ = origin;
    return true;
}

void RateKeeper::publish() {
    if (rates_.date.empty()) return;
    store_.publish(
        std::make_shared<const RateSitePages>(rates_, origin_ == Origin::Snapshot, names_));
}

std::string RateKeeper::describe() const {
    if (rates_.date.empty()) return {};
    return "the rates of " + rates_.date + " from " + originName(origin_);
}
