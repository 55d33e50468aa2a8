// Number text and text fields: value lines (the exact writes handed to
// WriteBytes), hexadecimal and float text, quotes, the field search.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "measure/field_search.h"
#include "measure/value_line.h"
#include "measure_support.h"

namespace {

using measuretest::narrow;
using measuretest::Object;
using measuretest::w;
using measuretest::WString;

// The writes of one line, in order.
class RecordingOutput final : public ql::ValueLineOutput {
public:
    void writeBytes(const void* data, uint32_t count) override {
        parts.emplace_back(static_cast<const char*>(data), count);
    }
    void formatHex64(uint64_t value, char* buffer, int32_t capacity) override { object->FormatHex64(value, buffer, capacity); }
    std::string line() const {
        std::string all;
        for (const std::string& p : parts) all += p;
        return all;
    }
    std::vector<std::string> parts;
    ICommon* object = nullptr;
};

std::vector<std::string> lineParts(Object& o, int32_t k1, uint64_t v1, int32_t k2 = 0, uint64_t v2 = 0,
                                   int32_t k3 = 0, uint64_t v3 = 0) {
    RecordingOutput out;
    out.object = o.get();
    const int32_t kinds[3] = {k1, k2, k3};
    const uint64_t values[3] = {v1, v2, v3};
    ql::writeValueLine(out, kinds, values);
    return out.parts;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string all;
    for (const std::string& p : parts) all += p;
    return all;
}

uint64_t pointer(const void* p) { return reinterpret_cast<uintptr_t>(p); }

TEST(ValueLine, EachPartIsItsOwnWrite) {
    Object o;
    const WString width = w("Width");
    const double d = 1.5;
    using V = std::vector<std::string>;
    EXPECT_EQ(lineParts(o, valueText, pointer(width.c_str()), valueDouble, pointer(&d), valueInt, 42),
              (V{"Width", " ", "1", ".", "5000000", " ", "42", " ", "\r\n"}));
    EXPECT_EQ(lineParts(o, 0, 0), (V{"\r\n"}));
    EXPECT_EQ(lineParts(o, valueHex64, 4660), (V{"0x00000000'00001234", " ", "\r\n"}));
    const double twoOhFive = 2.05;
    EXPECT_EQ(lineParts(o, valueDouble, pointer(&twoOhFive)), (V{"2", ".", "0", "500000", " ", "\r\n"}));
}

TEST(ValueLine, NumbersAndTheirDecidedForms) {
    Object o;
    auto dbl = [&](double v) { return joined(lineParts(o, valueDouble, pointer(&v))); };
    auto flt = [&](float v) { return joined(lineParts(o, valueFloat, pointer(&v))); };
    EXPECT_EQ(flt(0.25f), "0.2500000 \r\n");
    EXPECT_EQ(flt(3.1f), "3.0999999 \r\n");  // single-precision steps
    EXPECT_EQ(dbl(3.1), "3.1000000 \r\n");
    EXPECT_EQ(dbl(0.0), "0.0000000 \r\n");
    EXPECT_EQ(dbl(-1.25), "-1.2500000 \r\n");  // sign, then the magnitude
    EXPECT_EQ(dbl(-0.0), "0.0000000 \r\n");
    EXPECT_EQ(dbl(0.99999999), "1.0000000 \r\n");  // a fraction that rounds up carries
    EXPECT_EQ(dbl(2147483647.5), "2147483647.5000000 \r\n");
    EXPECT_EQ(dbl(1e20), "100000000000000000000.0000000 \r\n");
    EXPECT_EQ(dbl(-3e9), "-3000000000.0000000 \r\n");
    EXPECT_EQ(flt(1e10f), "10000000000.0000000 \r\n");
    EXPECT_EQ(dbl(INFINITY), "inf \r\n");
    EXPECT_EQ(dbl(-INFINITY), "-inf \r\n");
    EXPECT_EQ(dbl(NAN), "nan \r\n");
    auto integer = [&](uint64_t v) { return joined(lineParts(o, valueInt, v)); };
    EXPECT_EQ(integer(0xFFFFFFFF), "-1 \r\n");
    EXPECT_EQ(integer(0x1234567880000000ull), "-2147483648 \r\n");  // low 32 bits only
    // Null pointers are empty values: only the blank.
    EXPECT_EQ(joined(lineParts(o, valueText, 0, valueFloat, 0, valueDouble, 0)), "   \r\n");
    EXPECT_EQ(joined(lineParts(o, 6, 1, -1, 2, valueInt, 7)), "7 \r\n");
}

TEST(ValueLine, TextIsCutAt255BytesAndUnrepresentableIsQuestionMark) {
    Object o;
    const WString longText(300, static_cast<QLWChar>('a'));
    auto parts = lineParts(o, valueText, pointer(longText.c_str()));
    EXPECT_EQ(parts[0], std::string(255, 'a'));
    std::setlocale(LC_ALL, "C");
    const WString odd = {'A', 0x20AC, 0xD83D, 0xDE00, 'B'};
    EXPECT_EQ(lineParts(o, valueText, pointer(odd.c_str()))[0], "A???B");
}

// The real operation: nothing without a stream, and every part through
// slot 12 of the table.
TEST(ValueLine, WriteValueLineGoesThroughWriteBytes) {
    Object o;
    static std::string written;
    static int calls;
    written.clear();
    calls = 0;
    measuretest::PatchedTable patch(o.get());
    patch.slots().WriteBytes = [](ICommon*, const void* data, uint32_t count) {
        written.append(static_cast<const char*>(data), count);
        ++calls;
    };
    const double d = 1.5;
    o->WriteValueLine(valueDouble, pointer(&d), 0, 0, 0, 0);
    EXPECT_EQ(calls, 0);  // no stream: nothing
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    o.state()->stream = f;
    o->WriteValueLine(valueDouble, pointer(&d), valueInt, 7, 0, 0);
    o.state()->stream = nullptr;
    std::fclose(f);
    EXPECT_EQ(written, "1.5000000 7 \r\n");
    EXPECT_EQ(calls, 7);
}

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

TEST(ValueLine, Hex64ComesFromSlot48) {
    Object o;
    static std::string written;
    written.clear();
    measuretest::PatchedTable patch(o.get());
    patch.slots().WriteBytes = [](ICommon*, const void* data, uint32_t count) {
        written.append(static_cast<const char*>(data), count);
    };
    patch.slots().FormatHex64 = [](ICommon*, uint64_t, char* buffer, int32_t capacity) {
        EXPECT_EQ(capacity, 256);
        std::strcpy(buffer, "HEX");
    };
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    o.state()->stream = f;
    o->WriteValueLine(valueHex64, 1, 0, 0, 0, 0);
    o.state()->stream = nullptr;
    std::fclose(f);
    EXPECT_EQ(written, "HEX \r\n");
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

// Fields delivered the way ReadWideField delivers them: up to and including
// TAB or LF, at most capacity/2 units with the last overwritten by a zero
// when the capacity is filled.
class ScriptedReader final : public ql::FieldReader {
public:
    explicit ScriptedReader(WString data) : data_(std::move(data)) {}
    int32_t readWideField(QLWChar* dest, int32_t capacityBytes, uint16_t terminator, QLBool) override {
        const size_t room = static_cast<size_t>(capacityBytes / 2);
        size_t n = 0;
        while (pos_ < data_.size() && n < room) {
            const QLWChar c = data_[pos_++];
            dest[n++] = c;
            if (c == terminator || c == 10) break;
        }
        if (n < room) dest[n] = 0;
        else dest[room - 1] = 0;
        ++reads;
        return static_cast<int32_t>(n);
    }
    size_t position() const { return pos_; }
    int reads = 0;

private:
    WString data_;
    size_t pos_ = 0;
};

TEST(FindField, MatchesWholeFieldsOnly) {
    const WString data = w("A\tB\tC\n");
    ScriptedReader r1(data);
    EXPECT_EQ(ql::findField(w("B").c_str(), r1), 0);
    EXPECT_EQ(r1.position(), 4u);  // the next read starts at C
    ScriptedReader r2(data);
    EXPECT_EQ(ql::findField(w("D").c_str(), r2), -1);
    EXPECT_EQ(r2.position(), data.size());
    ScriptedReader r3(data);
    EXPECT_EQ(ql::findField(w("").c_str(), r3), -1);
    EXPECT_EQ(ql::findField(nullptr, r3), -1);
    EXPECT_EQ(r3.reads, 0);
    ScriptedReader r4(w("A\r\nB"));
    EXPECT_EQ(ql::findField(w("A").c_str(), r4), -1);  // the CR stays
    ScriptedReader r5(w("x\tAB"));
    EXPECT_EQ(ql::findField(w("AB").c_str(), r5), 0);  // last field without terminator
}

TEST(FindField, LongFieldsNeverMatch) {
    const WString tail = w("NAME");
    WString data = WString(600, static_cast<QLWChar>('x')) + tail + w("\tNAME\t");
    ScriptedReader r(data);
    EXPECT_EQ(ql::findField(tail.c_str(), r), 0);
    EXPECT_EQ(r.position(), data.size());  // the tail of the long field was passed over
    const WString longest(510, static_cast<QLWChar>('y'));
    ScriptedReader r2(longest + w("\t"));
    EXPECT_EQ(ql::findField(longest.c_str(), r2), 0);  // 510 units and TAB still fit one read
}

TEST(FindField, ReadsThroughSlot17) {
    Object o;
    static int reads;
    reads = 0;
    measuretest::PatchedTable patch(o.get());
    patch.slots().ReadWideField = [](ICommon*, QLWChar* dest, int32_t capacity, uint16_t terminator,
                                     QLBool stop) -> int32_t {
        EXPECT_EQ(capacity, 1024);
        EXPECT_EQ(terminator, 9);
        EXPECT_NE(stop, 0);
        if (reads++ > 0) return 0;
        dest[0] = 'K';
        dest[1] = 9;
        dest[2] = 0;
        return 2;
    };
    EXPECT_EQ(o->FindField(w("K").c_str()), 0);
    EXPECT_EQ(o->FindField(w("K").c_str()), -1);
    o.withoutState([&] { EXPECT_EQ(o->FindField(w("K").c_str()), -1); });
}

}  // namespace
