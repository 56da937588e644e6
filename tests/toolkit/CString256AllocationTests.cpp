// SPDX-License-Identifier: MIT
#include "toolkit/CString256.h"

#include "platform/Carbon/Carbon.h"
#include "tests/toolkit/AllocationCounter.h"
#include "tests/toolkit/FortyTokens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Empties a pool's free list for the length of a test; afterwards the objects that were free
// before go behind those the test left free, so later tests find a consistent pool.
template <class T> class EmptiedPool {
public:
    explicit EmptiedPool(T*& freeList) : freeList_(freeList), saved_(freeList) {
        freeList = nullptr;
    }
    ~EmptiedPool() {
        T** end = &freeList_;
        while (*end)
            end = &(*end)->next_free;
        *end = saved_;
    }
    EmptiedPool(const EmptiedPool&) = delete;
    EmptiedPool& operator=(const EmptiedPool&) = delete;

private:
    T*& freeList_;
    T* saved_;
};

} // namespace

TEST(StringPool, TakesABlockOf256AndServesItFromTheLast) {
    EmptiedPool<CString256> emptied(CString256::nfree);
    const size_t before = allocation_counter::count();
    CString256* first = new CString256("first");
    EXPECT_EQ(allocation_counter::count(), before + 1);

    std::vector<CString256*> fromBlock;
    fromBlock.reserve(256);
    const size_t afterReserve = allocation_counter::count();
    for (int i = 0; i < 255; ++i)
        fromBlock.push_back(new CString256);
    EXPECT_EQ(allocation_counter::count(), afterReserve);
    // Objects 255, 254, ..., 1 of the block follow object 0 in that order.
    for (int i = 0; i < 255; ++i)
        ASSERT_EQ(fromBlock[i], first + (255 - i));
    EXPECT_EQ(CString256::nfree, nullptr);

    CString256* secondBlock = new CString256;
    EXPECT_EQ(allocation_counter::count(), afterReserve + 1);

    delete fromBlock[7];
    CString256* reused = new CString256("again");
    EXPECT_EQ(reused, fromBlock[7]);
    EXPECT_EQ(allocation_counter::count(), afterReserve + 1);

    fromBlock[7] = reused;
    for (CString256* s : fromBlock)
        delete s;
    delete secondBlock;
    delete first;
}

TEST(CString256Allocation, NoOperationReachesTheHeap) {
    Handle h = NewHandle(300);
    std::memset(*h, 'h', 300);
    unsigned char pascal[] = "\x05"
                             "hello";
    char printed[600] = "";
    CString256 keep("warm-up");
    delete new CString256(keep); // the pool takes its block here, if it has none yet

    const size_t before = allocation_counter::count();
    CString256 s("a text of some length that is not short at all");
    CString256 t(s);
    CString256 u(pascal);
    s = t;
    s = "replaced";
    s = pascal;
    s = h;
    s = -1234567L;
    s += "appended";
    s += 'c';
    s += t;
    s += pascal;
    s += 42L;
    s.to_lower();
    s.filter_to_alnum_or_punct();
    s.change_suffix("txt");
    s.print(printed);
    char digits[32];
    itoa(digits, sizeof digits, -99L);
    reverse(digits);
    CString256* pooled = new CString256(s);
    delete pooled;
    EXPECT_EQ(allocation_counter::count(), before);
    DisposeHandle(h);
}

TEST(NodePool, ParsingAndFlatteningTakeOneBlockOfNodesAndNothingElse) {
    EmptiedPool<elem<CString256>> emptied(elem<CString256>::lfree);
    const CString256 text(fortyTokens().c_str());
    ASSERT_EQ(std::strlen(text.text), 255u);
    CString256 joined;

    const size_t before = allocation_counter::count();
    {
        CList<CString256> list;
        text.parse_into_list(", ", list);
        joined.flatten_list(',', list);
        text.parse_into_list(",", list); // reuses the nodes
        const size_t count = static_cast<size_t>(list.count);
        const size_t after = allocation_counter::count();
        EXPECT_EQ(after, before + 1);
        EXPECT_EQ(count, 40u);
    }
    EXPECT_EQ(std::string(joined.text, 10), "tok0,tok1,");
}

TEST(Matching, NothingReachesTheHeap) {
    CString256 subject("Corvanta reads the rate table of the day");
    CString256 other("RATE table");
    CList<CString256> pieces;
    subject.parse_into_list(" ", pieces);
    float score = 0.0f;

    const size_t before = allocation_counter::count();
    subject.match_case_exact(other, &score);
    subject.match_nocase_exact(other, &score);
    subject.match_case_partial(other, &score);
    subject.match_nocase_partial(other, &score);
    subject.match_case_approximate(other, &score);
    subject.match_nocase_approximate(other, &score);
    subject.match_wildcard_case(pieces, &score);
    subject.match_wildcard_nocase(pieces, &score);
    subject.match(matcher_nocase_partial_256, &other, &score);
    subject.match(match_wildcard_nocase_256, &pieces, &score);
    const bool prefix = subject.beginsWith_nocase("corv") && subject.endsWith("day", 0);
    const char* found = STRSTR(subject.text, "TABLE");
    const size_t after = allocation_counter::count();

    EXPECT_EQ(after, before);
    EXPECT_TRUE(prefix);
    EXPECT_NE(found, nullptr);
    EXPECT_EQ(score, 1.0f);
}
