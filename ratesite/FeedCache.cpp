#include "ratesite/FeedCache.h"

#include "base/AtomicFile.h"
#include "base/Folders.h"
#include "ratesite/ReferenceRates.h"

#include <fstream>
#include <sstream>

namespace {

// At most `limit` bytes; nothing when the file is missing, unreadable or longer.
std::optional<std::string> readSmallFile(const std::string& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<size_t>(in.gcount()) > limit) return std::nullopt;
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

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

std::optional<CachedFeed> FeedCache::read() const {
    std::optional<std::string> document = readSmallFile(documentPath(), kMaxFeedBytes);
    if (!document) return std::nullopt;
    CachedFeed feed{std::move(*document), {}};
    if (const auto validators = readSmallFile(validatorsPath(), 4096))
        feed.validators = parseValidators(*validators);
    return feed;
}

bool FeedCache::write(const CachedFeed& feed) const {
    return MakePrivateFolders(folder_) && WriteFileAtomically(documentPath(), feed.document) &&
           WriteFileAtomically(validatorsPath(), validatorsText(feed.validators));
}
