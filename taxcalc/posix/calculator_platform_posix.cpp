// The calculator's platform seam in the native build: there is no window
// system, so no dialog can be shown and there is no screen context.
#include "taxcalc/calculator_platform.h"

namespace ql::tax {
namespace {

struct NoWindowSystem final : CalculatorPlatform {
    intptr_t DialogBoxParamW(int32_t, void*) override { return -1; }
    void* GetDC() override { return nullptr; }
    uint32_t GetTabbedTextExtentW(void*, const QLWChar*, int32_t, int32_t, const int32_t*) override { return 0; }
    int32_t MessageBoxW(void*, const QLWChar*, const QLWChar*, uint32_t) override { return 0; }
    int32_t ReleaseDC(void*) override { return 0; }
};

}  // namespace

CalculatorPlatform& nativeCalculatorPlatform() {
    static NoWindowSystem platform;
    return platform;
}

}  // namespace ql::tax
