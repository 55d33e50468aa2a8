// The reader side of FindField: fields delivered from arbitrary UTF-16 data
// the way ReadWideField delivers them, with the text to find taken from the
// front of the input.
#include <cstdint>
#include <string>

#include "measure/field_search.h"

namespace {

class DataReader final : public ql::FieldReader {
public:
    DataReader(const QLWChar* data, size_t size) : data_(data), size_(size) {}
    int32_t readWideField(QLWChar* dest, int32_t capacityBytes, uint16_t terminator, QLBool) override {
        const size_t room = static_cast<size_t>(capacityBytes / 2);
        size_t n = 0;
        while (pos_ < size_ && n < room) {
            const QLWChar c = data_[pos_++];
            dest[n++] = c;
            if (c == terminator || c == 10) break;
        }
        if (n < room) dest[n] = 0;
        else dest[room - 1] = 0;
        return static_cast<int32_t>(n);
    }

private:
    const QLWChar* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::basic_string<QLWChar> units;
    for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<QLWChar>(data[i] | data[i + 1] << 8));
    const size_t split = units.find(static_cast<QLWChar>(0));
    if (split == std::basic_string<QLWChar>::npos) return 0;
    const std::basic_string<QLWChar> text = units.substr(0, split);
    DataReader reader(units.data() + split + 1, units.size() - split - 1);
    (void)ql::findField(text.c_str(), reader);
    return 0;
}
