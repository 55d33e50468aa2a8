// Number text and text fields: value lines (the exact writes handed to
// WriteBytes), hexadecimal and float text, quotes, the field search.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "measure_support.h"

namespace {

using measuretest::narrow;
using measuretest::Object;
using measuretest::w;
using measuretest::WString;



TEST(FormatHex64, DigitsMarkAndCapacities) {
    Object o;
    char out[32];
    o->FormatHex64(4660, out, 20);
    EXPECT_STREQ(out, "0x00000000'00001234");
    o->FormatHex64(UINT64_MAX, out, 20);
    EXPECT_STREQ(out, "0xffffffff'ffffffff");
    for (int32_t capacity = 0; capacity <= 21; ++capacity) {
        char guarded[40];
        std::memset(guarded, '#', sizeof guarded);
        o->FormatHex64(0xABCDEF0123456789ull, guarded, capacity);
        for (int i = capacity; i < 40; ++i) ASSERT_EQ(guarded[i], '#') << capacity;
        if (capacity > 0) {
            EXPECT_STREQ(guarded, capacity >= 20 ? "0xabcdef01'23456789" : "") << capacity;
        }
    }
    o.withoutState([&] {
        out[0] = 'z';
        o->FormatHex64(1, out, 32);
        EXPECT_EQ(out[0], 'z');
    });
}

std::string formatFloat(Object& o, float v, int32_t decimals) {
    QLWChar out[400];
    o->FormatFloat(v, out, 400, decimals);
    return narrow(out);
}

TEST(FormatFloat, TextsAndDecisions) {
    Object o;
    EXPECT_EQ(formatFloat(o, 1.5f, 2), "1.50");
    EXPECT_EQ(formatFloat(o, 0.05f, 2), "0.05");
    EXPECT_EQ(formatFloat(o, -0.5f, 2), "-0.50");
    EXPECT_EQ(formatFloat(o, 0.999f, 2), "1.00");
    EXPECT_EQ(formatFloat(o, 0.0f, 2), "0.00");
    EXPECT_EQ(formatFloat(o, 12.0f, 0), "12");
    EXPECT_EQ(formatFloat(o, 0.6f, 0), "1");
    EXPECT_EQ(formatFloat(o, 0.0f, 0), "0.");
    EXPECT_EQ(formatFloat(o, 0.125f, 2), "0.13");  // exact tie: away from zero
    EXPECT_EQ(formatFloat(o, -0.125f, 2), "-0.13");
    EXPECT_EQ(formatFloat(o, 0.004f, 2), "0.00");  // p = -2: two zeros after "0."
    EXPECT_EQ(formatFloat(o, 0.0004f, 2), "0.000");
    EXPECT_EQ(formatFloat(o, 16777216.0f, 3), "16777216.000");
    EXPECT_EQ(formatFloat(o, 3.4e38f, 0), "");  // beyond 30 digits
    EXPECT_EQ(formatFloat(o, INFINITY, 2), "inf");
    EXPECT_EQ(formatFloat(o, -INFINITY, 2), "-inf");
    EXPECT_EQ(formatFloat(o, NAN, 2), "nan");
    QLWChar out[8] = {'q', 0};
    o.withoutState([&] { o->FormatFloat(1.0f, out, 8, 1); });
    EXPECT_EQ(out[0], 'q');
    const WString full = w("-1234.5625");
    for (int32_t capacity = 0; capacity <= 13; ++capacity) {
        std::vector<QLWChar> buffer(static_cast<size_t>(capacity) + 6, 0x7777);
        o->FormatFloat(-1234.5625f, buffer.data(), capacity, 4);
        for (size_t i = static_cast<size_t>(capacity); i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0x7777);
        if (capacity > 0) {
            EXPECT_EQ(WString(buffer.data()), capacity > 10 ? full : WString()) << capacity;
        }
    }
}

TEST(FormatHexDigits, ThroughTheElementArray) {
    Object o;
    auto hex = [&](int32_t v, int32_t capacity = 16) {
        QLWChar out[16] = {'x', 0};
        o->FormatHexDigits(v, out, capacity);
        return narrow(out);
    };
    EXPECT_EQ(hex(255), "FF");
    EXPECT_EQ(hex(16), "10");
    EXPECT_EQ(hex(INT32_MAX), "7FFFFFFF");
    EXPECT_EQ(hex(0), "");
    EXPECT_EQ(hex(-5), "");
    // Host elements are gone and the array is left without storage.
    uint64_t e = 1;
    o->BeginElements(8);
    o->PushElement(&e);
    hex(4096);
    EXPECT_EQ(o.state()->elementStore, nullptr);
    EXPECT_EQ(o->GetElementCount(), 0);
    for (int32_t capacity = 0; capacity <= 10; ++capacity) {
        QLWChar buffer[16];
        for (QLWChar& c : buffer) c = 0x4444;
        o->FormatHexDigits(0x7ABCDEF1, buffer, capacity);
        for (int i = capacity; i < 16; ++i) ASSERT_EQ(buffer[i], 0x4444) << capacity;
        if (capacity > 0) {
            EXPECT_EQ(narrow(buffer), capacity >= 9 ? "7ABCDEF1" : "") << capacity;
        }
    }
    o->FormatHexDigits(255, nullptr, 4);
    o.withoutState([&] { EXPECT_EQ(hex(255), ""); });
}

// The element operations are reached through the table, in order.
TEST(FormatHexDigits, CallsTheElementSlots) {
    Object o;
    static std::string calls;
    calls.clear();
    measuretest::PatchedTable patch(o.get());
    const ICommonVtbl real = patch.slots();
    static ICommonVtbl forward;
    forward = real;
    patch.slots().BeginElements = [](ICommon* self, int32_t size) {
        calls += "B" + std::to_string(size);
        forward.BeginElements(self, size);
    };
    patch.slots().PushElement = [](ICommon* self, const void* e) {
        calls += "+" + std::to_string(*static_cast<const int32_t*>(e));
        forward.PushElement(self, e);
    };
    patch.slots().GetElementCount = [](ICommon* self) {
        calls += "#";
        return forward.GetElementCount(self);
    };
    patch.slots().PopElement = [](ICommon* self, void* e) {
        calls += "-";
        return forward.PopElement(self, e);
    };
    patch.slots().FreeElements = [](ICommon* self) {
        calls += "F";
        forward.FreeElements(self);
    };
    QLWChar out[16];
    o->FormatHexDigits(0x2A1, out, 16);
    EXPECT_EQ(narrow(out), "2A1");
    EXPECT_EQ(calls, "B4+1+10+2#---F");
}

TEST(StraightenQuotes, TypographicMarksOnly) {
    Object o;
    WString text = {0x201C, 'i', 0x2019, 's', 0x201D, 0x2018, 0x00AB, 0};
    o->StraightenQuotes(&text[0]);
    EXPECT_EQ(text, (WString{'"', 'i', '\'', 's', '"', '\'', 0x00AB, 0}));
    o->StraightenQuotes(nullptr);
    WString kept = {0x201C, 0};
    o.withoutState([&] { o->StraightenQuotes(&kept[0]); });
    EXPECT_EQ(kept[0], 0x201C);
}
}  // namespace

