// The measure slots whose bodies live only in the DLL: slots 6 and 7 as two
// entries of one operation, FormatHexDigits over the element array, the
// rounded parser over slot 45, and element storage reserved from Windows.
// The texts and parsers themselves are checked by tests/core.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "hostkit/host.h"

namespace {

TEST(MeasureTable, SlotsSixAndSevenAgreeHexDigitsAndRoundedFractions) {
    hostkit::Object o;
    const double slots[][3] = {{3, 5, 2}, {-3, 5, 2}, {1, 1, 0}, {-1, 1, 0}, {0, 0, 0}, {1e300, 1e300, 1}, {2.5, 1, 1}};
    for (const auto& r : slots) EXPECT_EQ(o->MulDivRound2(r[0], r[1], r[2]), o->MulDivRound(r[0], r[1], r[2])) << r[0] << " " << r[1];
    const struct { int32_t value, capacity; std::wstring want; } rows[] = {{0, 9, L""}, {-5, 9, L""}, {16, 9, L"10"},
        {255, 3, L"FF"}, {255, 2, L""}, {INT32_MAX, 9, L"7FFFFFFF"}, {INT32_MAX, 8, L""}};
    for (const auto& r : rows) {
        o->BeginElements(4);
        o->PushElement(&r.value);
        std::wstring out(16, L'Z');
        o->FormatHexDigits(r.value, &out[0], r.capacity);
        EXPECT_EQ(out.c_str(), r.want) << "row " << r.value << " capacity " << r.capacity;
        EXPECT_EQ(out.find_first_not_of(L'Z', static_cast<size_t>(r.capacity)), std::wstring::npos) << r.capacity;
        o->PushElement(&r.value);  // ignored: the array was left without storage
        EXPECT_EQ(o->GetElementCount(), 0) << "the host's elements and the storage are gone";
    }
    const struct { const wchar_t* text; int32_t want; bool sign; } fractions[] = {
        {L"0.0007-", -1, true}, {L"1 1/2", 1500, false}, {L"1/2 dia", 1571, false}, {L"1d-3", 1, false}};
    for (const auto& r : fractions) {
        int32_t out = -99;
        const bool sign = o->ParseFractionalMeasureRounded(r.text, unitInches, &out, unitThousandths);
        EXPECT_TRUE(sign == r.sign && out == r.want) << "row " << r.text << ": got " << out << (sign ? " signed" : "");
    }
}

TEST(MeasureTable, ElementAddressesStayAcrossGrowth) {
    hostkit::Object o;
    o->BeginElements(4);
    void *first = nullptr, *last = nullptr;
    for (uint32_t i = 0; i < 100000; ++i) o->PushElement(&i);
    ASSERT_TRUE(o->GetElementPointer(0, &first) && o->GetElementPointer(99999, &last));
    EXPECT_TRUE(static_cast<char*>(last) - static_cast<char*>(first) == 99999 * 4 && *static_cast<uint32_t*>(last) == 99999u);
    o->BeginElements(8);  // left with storage: the destroyer gives it back
}

}  // namespace
