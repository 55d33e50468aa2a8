// The element array: growth in 65536-byte steps, stable addresses, stack
// use, and the bad-input decisions (sizes, null pointers, no storage).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "measure/element_memory.h"
#include "measure_support.h"

namespace {

using measuretest::Object;

TEST(Elements, PushCopyPopAndIndexBounds) {
    Object o;
    o->BeginElements(8);
    for (uint64_t v : {11ull, 22ull, 33ull}) o->PushElement(&v);
    EXPECT_EQ(o->GetElementCount(), 3);
    uint64_t out = 0;
    EXPECT_TRUE(o->CopyElement(2, &out));
    EXPECT_EQ(out, 33u);
    void* address = &out;
    EXPECT_TRUE(o->GetElementPointer(1, &address));
    EXPECT_EQ(*static_cast<uint64_t*>(address), 22u);
    for (int32_t bad : {-1, 3, INT32_MIN}) {
        EXPECT_FALSE(o->CopyElement(bad, &out));
        address = &out;
        EXPECT_FALSE(o->GetElementPointer(bad, &address));
        EXPECT_EQ(address, nullptr);
    }
    EXPECT_FALSE(o->GetElementPointer(0, nullptr));
    EXPECT_FALSE(o->CopyElement(0, nullptr));
    EXPECT_TRUE(o->PopElement(&out));
    EXPECT_EQ(out, 33u);
    EXPECT_EQ(o->GetElementCount(), 2);
    EXPECT_TRUE(o->PopElement(&out));
    EXPECT_TRUE(o->PopElement(&out));
    EXPECT_EQ(out, 11u);
    EXPECT_FALSE(o->PopElement(&out));
    EXPECT_EQ(o->GetElementCount(), 0);
}

TEST(Elements, NoStorageBeforeBeginAndAfterFree) {
    Object o;
    uint32_t v = 5;
    o->PushElement(&v);
    EXPECT_EQ(o->GetElementCount(), 0);
    EXPECT_FALSE(o->PopElement(&v));
    o->BeginElements(4);
    o->PushElement(&v);
    o->FreeElements();
    o->FreeElements();
    EXPECT_EQ(o->GetElementCount(), 0);
    EXPECT_EQ(o.state()->elementStore, nullptr);
    EXPECT_EQ(o.state()->elementCapacity, 0);
    EXPECT_FALSE(o->CopyElement(0, &v));
    o.withoutState([&] {
        o->BeginElements(4);
        o->PushElement(&v);
        EXPECT_EQ(o->GetElementCount(), 0);
        EXPECT_FALSE(o->PopElement(&v));
        void* address = &v;
        EXPECT_FALSE(o->GetElementPointer(0, &address));
        EXPECT_EQ(address, static_cast<void*>(&v));  // untouched without a record
    });
}

// 16383 four-byte pushes fit the first step; the next one grows by exactly
// one step, without moving any element.
TEST(Elements, GrowthStepsKeepBytesAndAddresses) {
    Object o;
    o->BeginElements(4);
    ql::QLState& s = *o.state();
    EXPECT_EQ(s.elementCapacity, 65536);
    EXPECT_EQ(s.elementLimit, s.elementStore + 65535);
    for (uint32_t i = 0; i < 16383; ++i) o->PushElement(&i);
    EXPECT_EQ(s.elementCapacity, 65536);
    void* first = nullptr;
    ASSERT_TRUE(o->GetElementPointer(0, &first));
    uint32_t next = 16383;
    o->PushElement(&next);
    EXPECT_EQ(s.elementCapacity, 131072);
    EXPECT_EQ(s.elementLimit, s.elementStore + 131071);
    EXPECT_EQ(s.elementCursor, s.elementStore + 16384 * 4);
    void* again = nullptr;
    ASSERT_TRUE(o->GetElementPointer(0, &again));
    EXPECT_EQ(first, again);
    for (uint32_t i = 0; i < 16384; i += 1001) {
        uint32_t out = 0;
        ASSERT_TRUE(o->CopyElement(static_cast<int32_t>(i), &out));
        EXPECT_EQ(out, i);
    }
    // A new start empties the array but keeps the grown capacity.
    o->BeginElements(2);
    EXPECT_EQ(s.elementCapacity, 131072);
    EXPECT_EQ(o->GetElementCount(), 0);
    uint32_t out = 0;
    EXPECT_FALSE(o->CopyElement(0, &out));
}

TEST(Elements, SizesZeroNegativeAndLarge) {
    Object o;
    uint8_t byte = 1;
    for (int32_t size : {0, -4, INT32_MIN}) {
        o->BeginElements(size);
        o->PushElement(&byte);
        EXPECT_EQ(o->GetElementCount(), 0) << size;
        EXPECT_FALSE(o->PopElement(&byte)) << size;  // no pops from nothing
    }
    // Elements larger than a step grow the storage by as many steps as needed.
    std::vector<uint8_t> big(200000, 0xAB), out(200000);
    o->BeginElements(200000);
    o->PushElement(big.data());
    o->PushElement(big.data());
    EXPECT_EQ(o->GetElementCount(), 2);
    EXPECT_EQ(o.state()->elementCapacity, 7 * 65536);
    ASSERT_TRUE(o->PopElement(out.data()));
    EXPECT_EQ(out, big);
    // An element that cannot fit the largest storage is refused.
    o->BeginElements(INT32_MAX);
    o->PushElement(big.data());
    EXPECT_EQ(o->GetElementCount(), 0);
}

TEST(Elements, NullElementPointersChangeNothing) {
    Object o;
    o->BeginElements(4);
    uint32_t v = 9;
    o->PushElement(&v);
    o->PushElement(nullptr);
    EXPECT_EQ(o->GetElementCount(), 1);
    EXPECT_FALSE(o->PopElement(nullptr));
    EXPECT_EQ(o->GetElementCount(), 1);
    ASSERT_TRUE(o->PopElement(&v));
    EXPECT_EQ(v, 9u);
}

TEST(Elements, DestroyerReleasesTheStorage) {
    ICommon* obj = GetQLObject(nullptr);
    obj->BeginElements(16);
    ql::QLState* s = static_cast<ql::QLCommon*>(obj)->state();
    ql::releaseElements(*s);
    EXPECT_EQ(s->elementStore, nullptr);
    EXPECT_EQ(s->elementCount, 0);
    ql::releaseElements(*s);  // twice is harmless
    obj->BeginElements(16);
    QLDestroy(obj);  // with storage: freed by the destroyer (leak-checked under ASan)
}

}  // namespace
