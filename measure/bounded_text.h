// Text built in a local buffer and handed to the caller's buffer whole.
//
// The formatters compose their text here and copy it out only when all of
// it and its terminator fit the caller's capacity; otherwise the caller gets
// the empty text (nothing at all for a null buffer or a capacity below 1).
// A cut-off number would read as a different number, the empty text cannot.
#ifndef QL_MEASURE_BOUNDED_TEXT_H
#define QL_MEASURE_BOUNDED_TEXT_H

#include <cstdint>
#include <cstring>

namespace ql {

template <class Ch, int N>
class LocalText {
public:
    void append(Ch c) {
        if (length_ < N) text_[length_] = c;
        ++length_;
    }
    void append(const char* ascii, int count) {
        for (int i = 0; i < count; ++i) append(static_cast<Ch>(ascii[i]));
    }
    void appendRepeated(Ch c, int count) {
        for (int i = 0; i < count; ++i) append(c);
    }
    int length() const { return length_; }
    const Ch* data() const { return text_; }

    // Copies the text and its terminator when they fit, else writes the
    // empty text.
    void copyTo(Ch* out, int32_t capacity) const {
        if (!out || capacity < 1) return;
        if (length_ > N || length_ + 1 > capacity) {
            out[0] = 0;
            return;
        }
        std::memcpy(out, text_, sizeof(Ch) * static_cast<size_t>(length_));
        out[length_] = 0;
    }

private:
    Ch text_[N];
    int length_ = 0;
};

}  // namespace ql

#endif
