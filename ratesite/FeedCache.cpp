#include "ratesite/FeedCache.h"

#include "platform/CoreFoundation/CFPreferencesFile.h"
#include "ratesite/ReferenceRates.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

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

// The folder and its parents, private to the user as a cache should be.
bool makeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
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
    return makeFolders(folder_) &&
           CFPreferencesWriteFileAtomically(documentPath(), feed.document) &&
           CFPreferencesWriteFileAtomically(validatorsPath(), validatorsText(feed.validators));
}
