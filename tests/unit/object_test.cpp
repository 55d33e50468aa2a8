// The service object's lifecycle, through the table as a host sees it.
#include <gtest/gtest.h>

#include "object/qlcommon_impl.h"

namespace {

TEST(Object, FreshObjectAndCounts) {
    const int32_t before = QLRelease();
    ICommon* a = GetQLObject(nullptr);
    ICommon* b = GetQLObject(reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(QLRelease(), before + 2);
    EXPECT_EQ(a->GetInterfaceVersion(), 7u);
    EXPECT_EQ(a->GetByteCount(), 0u);
    EXPECT_EQ(a->GetElementCount(), 0);
    QLDestroy(a);
    EXPECT_EQ(QLRelease(), before + 1);
    QLDestroy(nullptr);  // lowers the count, frees nothing
    EXPECT_EQ(QLRelease(), before);
    QLDestroy(b);
    EXPECT_EQ(QLRelease(), before - 1);
    // The count is now one below the objects alive: later tests compare
    // counts relative to their own start.
}

TEST(Object, StateRecordInitialValues) {
    void* poison = reinterpret_cast<void*>(uintptr_t{0xDEADBEEFDEADBEEF});
    ICommon* obj = GetQLObject(poison);
    ql::QLState* s = static_cast<ql::QLCommon*>(obj)->state();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->hostContext, poison);
    EXPECT_EQ(s->interfaceVersion, 7u);
    // Everything after the first two fields starts zero or null.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&s->ioBuffer);
    const auto* end = reinterpret_cast<const unsigned char*>(s + 1);
    for (const unsigned char* p = bytes; p < end; ++p) ASSERT_EQ(*p, 0) << "byte " << (p - bytes);
    QLDestroy(obj);
}

TEST(Object, TwoDataWordsAndNoRecordGivesEmptyResults) {
    ICommon* obj = GetQLObject(nullptr);
    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* s = impl->state();
    impl->setState(nullptr);  // as if the record were gone
    EXPECT_EQ(obj->GetInterfaceVersion(), 0u);
    EXPECT_EQ(obj->GetByteCount(), 0u);
    EXPECT_EQ(obj->GetBufferPos(), 0xFFFFFFFFu);
    impl->setState(s);
    QLDestroy(obj);
}

TEST(Object, SlotsSixAndSevenAreOneBody) {
    ICommon* obj = GetQLObject(nullptr);
    const ICommonVtbl* table = *reinterpret_cast<const ICommonVtbl* const*>(obj);
#if !defined(__clang__)  // the clang build has a forwarder in slot 7
    EXPECT_EQ(reinterpret_cast<void*>(table->MulDivRound), reinterpret_cast<void*>(table->MulDivRound2));
#else
    (void)table;
#endif
    EXPECT_EQ(obj->MulDivRound(3.0, 5.0, 2.0), obj->MulDivRound2(3.0, 5.0, 2.0));
    QLDestroy(obj);
}

}  // namespace
