// WarnMissingResource on random names and kinds: one box per new name, the
// list holding every name once, font messages never longer than 511
// characters, and (under AddressSanitizer) no read or write out of bounds
// and no leak when the object is destroyed.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "object/qlcommon_impl.h"
#include "shell/warning_platform.h"
#include "tests/unit/platform_fakes.h"

namespace {

using Text = std::basic_string<QLWChar>;

struct CountingBoxes final : ql::WarningPlatform {
    int shown = 0;
    int32_t MessageBoxW(void*, const QLWChar* text, const QLWChar* caption, uint32_t type) override {
        if (!text || !caption || type != 0) std::abort();
        if (caption[0] == 'F' && Text(text).size() > 511) std::abort();
        ++shown;
        return 1;
    }
};

}  // namespace

// Input: records of [kind byte][length byte][length * 4 bytes of name units,
// repeated four times over to reach long names].
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CountingBoxes boxes;
    qltest::NoWindows windows;
    const qltest::ScopedPlatform<ql::WarningPlatform> boxesInstalled(ql::setWarningPlatform, &boxes);
    const qltest::ScopedPlatform<ql::ProgressPlatform> windowsInstalled(ql::setProgressPlatform, &windows);
    ICommon* obj = GetQLObject(nullptr);
    obj->BeginProgress(reinterpret_cast<void*>(0x10), nullptr, 1);

    std::set<Text> seen;
    int expectedBoxes = 0;
    while (size >= 2) {
        const int32_t kind = static_cast<int8_t>(data[0]) % 6;
        size_t units = data[1];
        data += 2, size -= 2;
        if (units * 2 > size) units = size / 2;
        Text name;
        for (size_t i = 0; i < units; ++i) {
            QLWChar c = static_cast<QLWChar>(data[2 * i] | (data[2 * i + 1] << 8));
            name.push_back(c ? c : QLWChar('0'));
        }
        data += units * 2, size -= units * 2;
        name = name + name + name + name;  // up to 1020 units
        obj->WarnMissingResource(name.c_str(), kind);
        if (seen.insert(name).second && kind >= 0 && kind <= 3) ++expectedBoxes;
    }
    const ql::QLState& s = *static_cast<ql::QLCommon*>(obj)->state();
    if (s.warningCount != static_cast<int32_t>(seen.size()) || boxes.shown != expectedBoxes) std::abort();
    QLDestroy(obj);
    return 0;
}
