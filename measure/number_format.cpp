// The text-field operations over the data file: value lines and the field
// search.
#include "measure/field_search.h"
#include "measure/value_line.h"
#include "object/qlcommon_impl.h"

namespace ql {
namespace {

// The value-line writer's output: WriteBytes and FormatHex64 of the table.
class TableLineOutput final : public ValueLineOutput {
public:
    explicit TableLineOutput(ICommon& table) : table_(table) {}
    void writeBytes(const void* data, uint32_t count) override { table_.WriteBytes(data, count); }
    void formatHex64(uint64_t value, char* buffer, int32_t capacity) override {
        table_.FormatHex64(value, buffer, capacity);
    }

private:
    ICommon& table_;
};

class TableFieldReader final : public FieldReader {
public:
    explicit TableFieldReader(ICommon& table) : table_(table) {}
    int32_t readWideField(QLWChar* dest, int32_t capacityBytes, uint16_t terminator, QLBool stopAtLineFeed) override {
        return table_.ReadWideField(dest, capacityBytes, terminator, stopAtLineFeed);
    }

private:
    ICommon& table_;
};

}  // namespace

void QLCommon::WriteValueLine(int32_t kind1, uint64_t value1, int32_t kind2, uint64_t value2, int32_t kind3,
                              uint64_t value3) {
    if (!state_ || !state_->stream) return;
    const int32_t kinds[3] = {kind1, kind2, kind3};
    const uint64_t values[3] = {value1, value2, value3};
    TableLineOutput out(*this);
    writeValueLine(out, kinds, values);
}

int32_t QLCommon::FindField(const QLWChar* text) {
    if (!state_) return -1;
    TableFieldReader reader(*this);
    return findField(text, reader);
}

}  // namespace ql
