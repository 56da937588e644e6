// SPDX-License-Identifier: MIT
#include "platform/CoreFoundation/PropertyListNesting.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr std::string_view kBinaryMagic = "bplist00";

bool startsWithAt(std::string_view data, std::size_t at, std::string_view prefix) {
    return data.size() - at >= prefix.size() && data.compare(at, prefix.size(), prefix) == 0;
}

// Counts <array> and <dict> elements still open; comments, CDATA sections and processing
// instructions are skipped as the parser skips them, so that nothing inside them can hide an
// opening or a closing.
bool xmlNestingWithin(std::string_view data, std::size_t maxDepth) {
    std::size_t depth = 0;
    std::size_t at = 0;
    while ((at = data.find('<', at)) != std::string_view::npos) {
        std::string_view end = ">";
        if (startsWithAt(data, at, "<!--"))
            end = "-->";
        else if (startsWithAt(data, at, "<![CDATA["))
            end = "]]>";
        else if (startsWithAt(data, at, "<?"))
            end = "?>";
        const std::size_t close = data.find(end, at + 1);
        if (close == std::string_view::npos) return true; // an unfinished tag opens nothing
        const std::string_view tag = data.substr(at + 1, close - at - 1);
        at = close + end.size();
        if (end != ">") continue;

        const bool closing = !tag.empty() && tag.front() == '/';
        const std::string_view name = tag.substr(closing ? 1 : 0);
        const bool container = name.starts_with("array") || name.starts_with("dict");
        if (!container) continue;
        const std::size_t nameLength = name.starts_with("array") ? 5 : 4;
        if (name.size() > nameLength && name[nameLength] != '/' && name[nameLength] != ' ' &&
            name[nameLength] != '\t' && name[nameLength] != '\n' && name[nameLength] != '\r')
            continue; // <arrays>, <dictionary>: other elements
        if (closing) {
            if (depth > 0) --depth;
        } else if (tag.back() != '/' && ++depth > maxDepth) {
            return false;
        }
    }
    return true;
}

// Big-endian unsigned integer of `width` bytes at `at`; nothing when it runs past the end.
std::optional<std::uint64_t> bigEndian(std::string_view data, std::uint64_t at,
                                       std::uint64_t width) {
    if (width == 0 || width > 8 || at > data.size() || data.size() - at < width)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::uint64_t i = 0; i < width; ++i)
        value = value << 8 | static_cast<unsigned char>(data[at + i]);
    return value;
}

// The length of the object at `offset` as its marker and any following integer give it.
std::optional<std::uint64_t> objectLength(std::string_view data, std::uint64_t offset,
                                          std::uint64_t& start) {
    const auto marker = bigEndian(data, offset, 1);
    if (!marker) return std::nullopt;
    start = offset + 1;
    if ((*marker & 0xF) != 0xF) return *marker & 0xF;
    const auto intMarker = bigEndian(data, start, 1);
    if (!intMarker || (*intMarker >> 4) != 0x1 || (*intMarker & 0xF) > 3) return std::nullopt;
    const std::uint64_t width = std::uint64_t{1} << (*intMarker & 0xF);
    const auto length = bigEndian(data, start + 1, width);
    start += 1 + width;
    return length;
}

struct Container {
    std::vector<std::uint64_t> references; // a dictionary's keys first, then its values
    std::uint64_t keys = 0;
};

// The object references held by the container at `offset` (array, set or dictionary); none for
// any other object; nothing when the object is malformed.
std::optional<Container> containerReferences(std::string_view data, std::uint64_t offset,
                                             std::uint64_t referenceSize) {
    const auto marker = bigEndian(data, offset, 1);
    if (!marker) return std::nullopt;
    const unsigned kind = static_cast<unsigned>(*marker) >> 4;
    if (kind != 0xA && kind != 0xC && kind != 0xD) return Container{};
    std::uint64_t at = 0;
    const auto length = objectLength(data, offset, at);
    if (!length || at > data.size()) return std::nullopt;
    const std::uint64_t count = *length;
    const std::uint64_t references = kind == 0xD ? count * 2 : count;
    if (count > data.size() || references * referenceSize > data.size() - at) return std::nullopt;
    Container found;
    found.keys = kind == 0xD ? count : 0;
    found.references.reserve(static_cast<std::size_t>(references));
    for (std::uint64_t i = 0; i < references; ++i)
        found.references.push_back(*bigEndian(data, at + i * referenceSize, referenceSize));
    return found;
}

// A dictionary key must be a text (ASCII or UTF-16) without a zero character: libplist aborts
// the process when it hands out any other key.
bool isKeyText(std::string_view data, std::uint64_t offset) {
    const auto marker = bigEndian(data, offset, 1);
    if (!marker || ((*marker >> 4) != 0x5 && (*marker >> 4) != 0x6)) return false;
    std::uint64_t start = 0;
    const auto length = objectLength(data, offset, start);
    const std::uint64_t unit = (*marker >> 4) == 0x6 ? 2 : 1;
    if (!length || *length > data.size() || start > data.size() ||
        (data.size() - start) / unit < *length)
        return false;
    for (std::uint64_t i = 0; i < *length; ++i)
        if (*bigEndian(data, start + i * unit, unit) == 0) return false;
    return true;
}

// Follows the object references from the top object with an explicit stack; the objects form
// a graph in which several containers may share a child, so each object is walked once and
// its depth remembered. The parser, though, builds a node for every reference it follows, so
// shared children are also counted as often as they are referred to: sixty arrays each holding
// the next one twice are a few hundred bytes that would unfold into 2^60 nodes.
bool binaryNestingWithin(std::string_view data, std::size_t maxDepth) {
    constexpr std::size_t kTrailerSize = 32;
    if (data.size() < kBinaryMagic.size() + kTrailerSize) return false;
    const std::uint64_t trailer = data.size() - kTrailerSize;
    const std::uint64_t offsetSize = *bigEndian(data, trailer + 6, 1);
    const std::uint64_t referenceSize = *bigEndian(data, trailer + 7, 1);
    const std::uint64_t objectCount = *bigEndian(data, trailer + 8, 8);
    const std::uint64_t topObject = *bigEndian(data, trailer + 16, 8);
    const std::uint64_t tableOffset = *bigEndian(data, trailer + 24, 8);
    if (offsetSize == 0 || offsetSize > 8 || referenceSize == 0 || referenceSize > 8 ||
        objectCount == 0 || objectCount > data.size() || topObject >= objectCount ||
        tableOffset > trailer || (trailer - tableOffset) / offsetSize < objectCount)
        return false;

    enum : std::uint8_t { unseen, open, done };
    std::vector<std::uint8_t> state(static_cast<std::size_t>(objectCount), unseen);
    std::vector<std::size_t> depthOf(static_cast<std::size_t>(objectCount), 0);
    // The nodes an object unfolds into, itself included, counted up to just past the limit.
    std::vector<std::uint64_t> nodesOf(static_cast<std::size_t>(objectCount), 0);
    std::vector<bool> keyChecked(static_cast<std::size_t>(objectCount), false);
    struct Frame {
        std::uint64_t object;
        std::vector<std::uint64_t> children;
        std::size_t next = 0;
    };
    std::vector<Frame> stack;
    const auto offsetOf = [&](std::uint64_t object) {
        return bigEndian(data, tableOffset + object * offsetSize, offsetSize);
    };
    auto enter = [&](std::uint64_t object) {
        if (object >= objectCount || state[object] == open) return false; // out of range, cycle
        if (state[object] == done) return true;
        const auto offset = offsetOf(object);
        if (!offset) return false;
        auto container = containerReferences(data, *offset, referenceSize);
        if (!container) return false;
        for (std::uint64_t i = 0; i < container->keys; ++i) {
            const std::uint64_t key = container->references[i];
            if (key >= objectCount) return false;
            if (keyChecked[key]) continue; // a key shared by many dictionaries is read once
            const auto keyOffset = offsetOf(key);
            if (!keyOffset || !isKeyText(data, *keyOffset)) return false;
            keyChecked[key] = true;
        }
        state[object] = open;
        stack.push_back(Frame{object, std::move(container->references)});
        return stack.size() <= maxDepth;
    };
    if (!enter(topObject)) return false;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next < frame.children.size()) {
            const std::uint64_t child = frame.children[frame.next++];
            if (child < objectCount && state[child] == done) {
                if (depthOf[child] + stack.size() > maxDepth) return false;
                continue;
            }
            if (!enter(child)) return false;
            continue;
        }
        // Containers count one level each; other objects none.
        std::size_t deepest = 0;
        std::uint64_t nodes = 1;
        for (const std::uint64_t child : frame.children) {
            deepest = std::max(deepest, depthOf[child]);
            nodes = std::min(nodes + std::max<std::uint64_t>(nodesOf[child], 1),
                             kMaxPropertyListNodes + 1);
        }
        if (nodes > kMaxPropertyListNodes) return false;
        depthOf[frame.object] = frame.children.empty() ? 1 : deepest + 1;
        nodesOf[frame.object] = nodes;
        state[frame.object] = done;
        stack.pop_back();
    }
    return true;
}

} // namespace

bool PropertyListNestingWithin(std::string_view data, std::size_t maxDepth) {
    if (data.starts_with(kBinaryMagic)) return binaryNestingWithin(data, maxDepth);
    return xmlNestingWithin(data, maxDepth);
}
