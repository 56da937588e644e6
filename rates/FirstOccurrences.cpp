#include "rates/FirstOccurrences.h"

#include <unordered_map>

namespace {

constexpr std::uint32_t kNone = UINT32_MAX;
constexpr size_t kNotSeen = SIZE_MAX;

class Automaton {
public:
    Automaton() { nodes_.emplace_back(); }

    std::uint32_t insert(const Token* tokens, size_t count) {
        std::uint32_t node = 0;
        for (size_t i = 0; i < count; ++i) {
            std::uint32_t next = step(node, tokens[i]);
            if (next == kNone) {
                next = static_cast<std::uint32_t>(nodes_.size());
                Node child;
                child.depth = nodes_[node].depth + 1;
                nodes_.push_back(std::move(child));
                edges_.emplace(edgeKey(node, tokens[i]), next);
                nodes_[node].children.push_back({tokens[i], next});
            }
            node = next;
        }
        nodes_[node].terminal = true;
        return node;
    }

    // Failure links and links to the longest terminal proper suffix, breadth first.
    void link() {
        std::vector<std::uint32_t> queue{0};
        for (size_t head = 0; head < queue.size(); ++head) {
            const std::uint32_t u = queue[head];
            for (auto [token, v] : nodes_[u].children) {
                std::uint32_t fail = 0;
                if (u != 0) {
                    std::uint32_t f = nodes_[u].fail;
                    while (f != 0 && step(f, token) == kNone)
                        f = nodes_[f].fail;
                    const std::uint32_t target = step(f, token);
                    fail = target == kNone ? 0 : target;
                }
                nodes_[v].fail = fail;
                nodes_[v].output = nodes_[fail].terminal ? fail : nodes_[fail].output;
                queue.push_back(v);
            }
        }
    }

    // Notes for every inserted sequence the index where it first ends.
    void scan(const std::vector<Token>& sequence, size_t terminals) {
        std::uint32_t state = 0;
        for (size_t i = 0; i < sequence.size() && terminals > 0; ++i) {
            std::uint32_t next;
            while ((next = step(state, sequence[i])) == kNone && state != 0)
                state = nodes_[state].fail;
            state = next == kNone ? 0 : next;
            // A node seen before had its whole suffix chain seen with it.
            for (std::uint32_t n = nodes_[state].terminal ? state : nodes_[state].output;
                 n != kNone && nodes_[n].firstEnd == kNotSeen; n = nodes_[n].output) {
                nodes_[n].firstEnd = i;
                --terminals;
            }
        }
    }

    size_t firstStart(std::uint32_t node) const {
        const Node& n = nodes_[node];
        return n.firstEnd == kNotSeen ? kNotSeen : n.firstEnd + 1 - n.depth;
    }
    size_t terminalCount() const {
        size_t count = 0;
        for (const Node& n : nodes_)
            count += n.terminal;
        return count;
    }

private:
    struct Node {
        std::vector<std::pair<Token, std::uint32_t>> children;
        std::uint32_t fail = 0;
        std::uint32_t output = kNone;
        size_t depth = 0;
        size_t firstEnd = kNotSeen;
        bool terminal = false;
    };

    static std::uint64_t edgeKey(std::uint32_t node, Token token) {
        return (static_cast<std::uint64_t>(node) << 32) | token;
    }
    std::uint32_t step(std::uint32_t node, Token token) const {
        auto found = edges_.find(edgeKey(node, token));
        return found == edges_.end() ? kNone : found->second;
    }

    std::vector<Node> nodes_;
    std::unordered_map<std::uint64_t, std::uint32_t> edges_;
};

} // namespace

std::vector<size_t> FirstOccurrences(const std::vector<Token>& sequence,
                                     const std::vector<std::pair<size_t, size_t>>& windows) {
    Automaton automaton;
    std::vector<std::uint32_t> nodeOfWindow;
    nodeOfWindow.reserve(windows.size());
    for (auto [begin, end] : windows)
        nodeOfWindow.push_back(begin < end ? automaton.insert(sequence.data() + begin, end - begin)
                                           : kNone);
    automaton.link();
    automaton.scan(sequence, automaton.terminalCount());

    std::vector<size_t> firsts;
    firsts.reserve(windows.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        const size_t start =
            nodeOfWindow[i] == kNone ? kNotSeen : automaton.firstStart(nodeOfWindow[i]);
        firsts.push_back(start == kNotSeen ? windows[i].first : start);
    }
    return firsts;
}
