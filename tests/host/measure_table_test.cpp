// The measure slots as a host meets them through the table of QLCommon.dll:
// slots 6 and 7 and the element array in real reserved memory.  The texts,
// parsers and data-file lines are checked by the unit tests, which run in
// both builds.
#include <gtest/gtest.h>

#include "hostkit/host.h"

namespace {

using hostkit::Object;

TEST(MeasureTable, SlotsSixAndSevenAgree) {
    Object o;
    const ICommonVtbl* t = o.table();
    EXPECT_EQ(t->MulDivRound(o.get(), 3, 5, 2), 8);
    EXPECT_EQ(t->MulDivRound2(o.get(), -3, 5, 2), -7);
    EXPECT_EQ(t->MulDivRound(o.get(), 1, 1, 0), INT32_MAX);
}

TEST(MeasureTable, ElementAddressesStayAcrossGrowth) {
    Object o;
    o->BeginElements(4);
    void* first = nullptr;
    for (uint32_t i = 0; i < 100000; ++i) {
        o->PushElement(&i);
        if (i == 0) {
            ASSERT_TRUE(o->GetElementPointer(0, &first));
        }
    }
    EXPECT_EQ(o->GetElementCount(), 100000);
    void* again = nullptr;
    ASSERT_TRUE(o->GetElementPointer(0, &again));
    EXPECT_EQ(first, again);
    void* last = nullptr;
    ASSERT_TRUE(o->GetElementPointer(99999, &last));
    EXPECT_EQ(*static_cast<uint32_t*>(last), 99999u);
    EXPECT_EQ(static_cast<char*>(last) - static_cast<char*>(first), 99999 * 4);
    uint32_t v = 0;
    EXPECT_TRUE(o->PopElement(&v));
    EXPECT_EQ(v, 99999u);
    o->FreeElements();
    EXPECT_EQ(o->GetElementCount(), 0);
    o->BeginElements(8);  // left with storage: the destroyer frees it
}

}  // namespace
