// SPDX-License-Identifier: MIT
#include "rates/FirstOccurrences.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
constexpr size_t kNotSeen = SIZE_MAX;

// The trie's edges in one open-addressed table: node-based maps spend most of the scan on
// cache misses once the trie is large.
class EdgeTable {
public:
    explicit EdgeTable(size_t maxEdges)
        : slots_(std::bit_ceil(std::max<size_t>(16, 2 * maxEdges)), Slot{kEmpty, 0}),
          mask_(slots_.size() - 1) {}

    std::uint32_t find(std::uint32_t node, Token token) const {
        const std::uint64_t key = keyOf(node, token);
        for (size_t i = slotOf(key);; i = (i + 1) & mask_) {
            if (slots_[i].key == key) return slots_[i].target;
            if (slots_[i].key == kEmpty) return kNone;
        }
    }
    // The edge must not be there yet.
    void insert(std::uint32_t node, Token token, std::uint32_t target) {
        const std::uint64_t key = keyOf(node, token);
        size_t i = slotOf(key);
        while (slots_[i].key != kEmpty)
            i = (i + 1) & mask_;
        slots_[i] = {key, target};
    }

private:
    // Node numbers stay below kNone, so no real key is all ones.
    static constexpr std::uint64_t kEmpty = UINT64_MAX;
    struct Slot {
        std::uint64_t key;
        std::uint32_t target;
    };

    static std::uint64_t keyOf(std::uint32_t node, Token token) {
        return (static_cast<std::uint64_t>(node) << 32) | token;
    }
    size_t slotOf(std::uint64_t key) const {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
    }

    std::vector<Slot> slots_;
    size_t mask_;
};

// Aho-Corasick over token numbers, noting where each inserted sequence first ends.
class Automaton {
public:
    explicit Automaton(size_t maxEdges) : edges_(maxEdges) {
        nodes_.emplace_back();
        nodes_.reserve(maxEdges + 1);
    }

    std::uint32_t insert(const Token* tokens, size_t count) {
        std::uint32_t node = 0;
        for (size_t i = 0; i < count; ++i) {
            std::uint32_t next = edges_.find(node, tokens[i]);
            if (next == kNone) {
                next = static_cast<std::uint32_t>(nodes_.size());
                Node child;
                child.parent = node;
                child.token = tokens[i];
                child.depth = nodes_[node].depth + 1;
                nodes_.push_back(child);
                edges_.insert(node, tokens[i], next);
            }
            node = next;
        }
        nodes_[node].terminal = true;
        return node;
    }

    // Failure links and links to the longest terminal proper suffix. A node's failure lies
    // nearer the root, so taking nodes by depth has every link ready when it is needed.
    void link() {
        std::vector<std::uint32_t> byDepth(nodes_.size() - 1);
        for (size_t i = 0; i < byDepth.size(); ++i)
            byDepth[i] = static_cast<std::uint32_t>(i + 1);
        std::stable_sort(byDepth.begin(), byDepth.end(), [this](std::uint32_t a, std::uint32_t b) {
            return nodes_[a].depth < nodes_[b].depth;
        });
        for (const std::uint32_t v : byDepth) {
            Node& node = nodes_[v];
            std::uint32_t fail = 0;
            if (node.parent != 0) {
                std::uint32_t f = nodes_[node.parent].fail;
                std::uint32_t target;
                while ((target = edges_.find(f, node.token)) == kNone && f != 0)
                    f = nodes_[f].fail;
                fail = target == kNone ? 0 : target;
            }
            node.fail = fail;
            node.output = nodes_[fail].terminal ? fail : nodes_[fail].output;
        }
    }

    void scan(const std::vector<Token>& sequence) {
        size_t unseen = 0;
        for (const Node& n : nodes_)
            unseen += n.terminal;
        std::uint32_t state = 0;
        for (size_t i = 0; i < sequence.size() && unseen > 0; ++i) {
            std::uint32_t next;
            while ((next = edges_.find(state, sequence[i])) == kNone && state != 0)
                state = nodes_[state].fail;
            state = next == kNone ? 0 : next;
            // A node seen before had its whole suffix chain seen with it.
            for (std::uint32_t n = nodes_[state].terminal ? state : nodes_[state].output;
                 n != kNone && nodes_[n].firstEnd == kNotSeen; n = nodes_[n].output) {
                nodes_[n].firstEnd = i;
                --unseen;
            }
        }
    }

    size_t firstStart(std::uint32_t node) const {
        const Node& n = nodes_[node];
        return n.firstEnd == kNotSeen ? kNotSeen : n.firstEnd + 1 - n.depth;
    }

private:
    struct Node {
        std::uint32_t parent = 0;
        Token token = 0;
        std::uint32_t fail = 0;
        std::uint32_t output = kNone;
        size_t depth = 0;
        size_t firstEnd = kNotSeen;
        bool terminal = false;
    };

    std::vector<Node> nodes_;
    EdgeTable edges_;
};

} // namespace

std::vector<size_t> FirstOccurrences(const std::vector<Token>& sequence,
                                     const std::vector<std::pair<size_t, size_t>>& windows) {
    size_t maxEdges = 0;
    for (auto [begin, end] : windows)
        maxEdges += begin < end ? end - begin : 0;
    Automaton automaton(maxEdges);
    std::vector<std::uint32_t> nodeOfWindow;
    nodeOfWindow.reserve(windows.size());
    for (auto [begin, end] : windows)
        nodeOfWindow.push_back(begin < end ? automaton.insert(sequence.data() + begin, end - begin)
                                           : kNone);
    automaton.link();
    automaton.scan(sequence);

    std::vector<size_t> firsts;
    firsts.reserve(windows.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        const size_t start =
            nodeOfWindow[i] == kNone ? kNotSeen : automaton.firstStart(nodeOfWindow[i]);
        firsts.push_back(start == kNotSeen ? windows[i].first : start);
    }
    return firsts;
}
