// SPDX-License-Identifier: MIT
#include "ratesite/FeedCache.h"

#include "base/AtomicFile.h"
#include "base/Folders.h"
#include "base/RegularFile.h"
#include "ratesite/ReferenceRates.h"

#include <sstream>

namespace {

constexpr size_t kMaxValidatorsBytes = 4096;

// "ETag: ..." and "Last-Modified: ..." lines; values never hold line ends (see FeedFetcher).
std::string validatorsText(const FeedValidators& validators) {
    return "ETag: " + validators.etag + "\nLast-Modified: " + validators.lastModified + "\n";
}

FeedValidators parseValidators(const std::string& text) {
    FeedValidators validators;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("ETag: ")) validators.etag = line.substr(6);
        if (line.starts_with("Last-Modified: ")) validators.lastModified = line.substr(15);
    }
    return validators;
}

} // namespace

KeptFeedReading FeedCache::read() const {
    KeptFeedReading kept;
    const RegularFileReading document =
        ReadRegularFile(documentPath(), kMaxFeedBytes, FollowLinks::No);
    if (document.state == RegularFileReading::State::Unreadable)
        kept.passedOver.push_back(document.reason);
    if (document.state != RegularFileReading::State::Read) return kept;
    kept.feed = CachedFeed{document.bytes, {}};
    const RegularFileReading validators =
        ReadRegularFile(validatorsPath(), kMaxValidatorsBytes, FollowLinks::No);
    if (validators.state == RegularFileReading::State::Read)
        kept.feed->validators = parseValidators(validators.bytes);
    else if (validators.state == RegularFileReading::State::Unreadable)
        kept.passedOver.push_back(validators.reason);
    return kept;
}

bool FeedCache::write(const CachedFeed& feed) const {
    return MakePrivateFolders(folder_) && WriteFileAtomically(documentPath(), feed.document) &&
           WriteFileAtomically(validatorsPath(), validatorsText(feed.validators));
}
