// The value-line text: text, hexadecimal, integer and seven-decimal
// values.
#include "datafile/text_fields.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "measure/fixed_digits.h"
#include "measure/narrow_char.h"
#include "measure/whole_number.h"

namespace ql {
namespace {

constexpr int kTextBytes = 255;  // a text value is cut to this many bytes

// One part of the line.  The line has room for three values of the longest
// kind; a part that would not fit is dropped rather than cut.
void put(ValueLine& out, const char* bytes, size_t count) {
    const size_t at = out.parts ? out.ends[out.parts - 1] : 0;
    if (out.parts == ValueLine::kMaxParts || at + count > sizeof out.text) return;
    std::memcpy(out.text + at, bytes, count);
    out.ends[out.parts++] = static_cast<uint16_t>(at + count);
}

void writeText(ValueLine& out, const char* text) { put(out, text, std::strlen(text)); }

void writeInteger(ValueLine& out, int64_t value) {
    char digits[24];
    put(out, digits, static_cast<size_t>(formatInteger(value, digits)));
}

// A UTF-16 text in the current locale's 8-bit characters, cut to 255
// bytes; a character is never cut in half.
void writeTextValue(ValueLine& out, const QLWChar* text) {
    char bytes[kTextBytes + 1];
    int length = 0;
    for (; *text; ++text) {
        if (*text < 0x80) {  // ASCII is itself in every locale
            if (length + 1 > kTextBytes) break;
            bytes[length++] = static_cast<char>(*text);
            continue;
        }
        char one[kNarrowCharMax];
        const int n = narrowChar(*text, one);
        if (length + n > kTextBytes) break;
        std::memcpy(bytes + length, one, static_cast<size_t>(n));
        length += n;
    }
    bytes[length] = '\0';
    put(out, bytes, static_cast<size_t>(length));
}

// Integer part i, ".", the zeros that bring n to seven digits, n.
void writeSevenDecimals(ValueLine& out, int64_t i, int32_t n) {
    if (n >= 10000000) {  // the fraction rounded up to a whole
        ++i;
        n = 0;
    }
    writeInteger(out, i);
    writeText(out, ".");
    for (int32_t bound : {1000000, 100000, 10000, 1000, 100, 10})
        if (n < bound) writeText(out, "0");
    writeInteger(out, n);
}

// Values beyond the 32-bit integer part: the exact digits at seven decimals.
void writeLargeSevenDecimals(ValueLine& out, double magnitude) {
    char digits[kLargestDigitLimit + 2];
    const FixedDigits f = fixedDigits(magnitude, 7, digits, kLargestDigitLimit);
    put(out, digits, static_cast<size_t>(f.point));
    writeText(out, ".");
    put(out, digits + f.point, 7);
}

// The special values and the sign; false when nothing more is to be written.
bool writeSignOrSpecial(ValueLine& out, double v) {
    if (std::isnan(v)) {
        writeText(out, "nan");
        return false;
    }
    if (v < 0.0) writeText(out, "-");
    if (std::isinf(v)) {
        writeText(out, "inf");
        return false;
    }
    return true;
}

void writeDouble(ValueLine& out, double v) {
    if (!writeSignOrSpecial(out, v)) return;
    const double m = std::fabs(v);
    if (m >= 2147483648.0) {
        writeLargeSevenDecimals(out, m);
        return;
    }
    const int32_t i = static_cast<int32_t>(m);
    double f = (m - i) * 10000000.0;
    f = f + 0.5;
    writeSevenDecimals(out, i, static_cast<int32_t>(f));
}

// The same steps in single precision where the value is a float.
void writeFloat(ValueLine& out, float v) {
    if (!writeSignOrSpecial(out, v)) return;
    const float m = std::fabs(v);
    if (m >= 2147483648.0f) {
        writeLargeSevenDecimals(out, m);
        return;
    }
    const int32_t i = static_cast<int32_t>(m);
    const float difference = m - static_cast<float>(i);
    float f = static_cast<float>(static_cast<double>(difference) * 10000000.0);
    f = f + 0.5f;
    writeSevenDecimals(out, i, static_cast<int32_t>(f));
}

}  // namespace

int formatInteger(int64_t value, char* out) {
    char tmp[24];
    int n = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        tmp[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    int length = 0;
    if (value < 0) out[length++] = '-';
    while (n) out[length++] = tmp[--n];
    out[length] = '\0';
    return length;
}

void composeValueLine(ValueLine& out, const int32_t kinds[3], const uint64_t values[3], const char* const hex64[3]) {
    out.parts = 0;
    for (int k = 0; k < 3; ++k) {
        const uint64_t value = values[k];
        // A null pointer counts as an empty value: only its blank is written.
        const void* pointer = reinterpret_cast<const void*>(static_cast<uintptr_t>(value));
        switch (kinds[k]) {
        case valueText:
            if (pointer) writeTextValue(out, static_cast<const QLWChar*>(pointer));
            break;
        case valueHex64:
            writeText(out, hex64[k]);
            break;
        case valueInt:
            writeInteger(out, static_cast<int32_t>(static_cast<uint32_t>(value)));
            break;
        case valueFloat:
            if (pointer) writeFloat(out, *static_cast<const float*>(pointer));
            break;
        case valueDouble:
            if (pointer) writeDouble(out, *static_cast<const double*>(pointer));
            break;
        default:
            continue;  // not even the blank
        }
        writeText(out, " ");
    }
    writeText(out, "\r\n");
}

}  // namespace ql
