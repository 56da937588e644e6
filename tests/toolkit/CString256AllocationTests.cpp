#include "toolkit/CString256.h"

#include "platform/Carbon/Carbon.h"
#include "tests/toolkit/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Starts a test with an empty string pool and, when it ends, puts the objects that were free
// before behind those the test left free, so later tests find a consistent pool.
class EmptyStringPool : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = CString256::nfree;
        CString256::nfree = nullptr;
    }
    void TearDown() override {
        CString256** end = &CString256::nfree;
        while (*end)
            end = &(*end)->next_free;
        *end = saved_;
    }

private:
    CString256* saved_ = nullptr;
};

} // namespace

TEST_F(EmptyStringPool, TakesABlockOf256AndServesItFromTheLast) {
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
