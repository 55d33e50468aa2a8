// The platform calls the calculator makes outside its dialog procedures,
// behind a seam so that the computation runs and is tested without a
// window system.
//
// The win32 implementation makes the real calls; the posix one has no
// window system: no dialog can be shown and there is no screen context.
// Unit tests install a recording fake with setCalculatorPlatform.
#ifndef QL_TAXCALC_CALCULATOR_PLATFORM_H
#define QL_TAXCALC_CALCULATOR_PLATFORM_H

#include <cstdint>

#include "qlcommon.h"

namespace ql::tax {

struct CalculatorPlatform {
    // Opens the dialog template templateId (101, 103 or 105) of the library
    // modally, owned by owner, with the calculator's procedure for that
    // template.  Returns the end code, or -1 when no dialog could be shown.
    virtual intptr_t DialogBoxParamW(int32_t templateId, void* owner) = 0;
    // The screen's measuring context, null when there is none.
    virtual void* GetDC() = 0;
    // Width in the low 16 bits, height in the high 16 bits.
    virtual uint32_t GetTabbedTextExtentW(void* dc, const QLWChar* text, int32_t count, int32_t tabCount,
                                          const int32_t* tabStops) = 0;
    // A modal message owned by owner; type 0 is the OK button alone.
    virtual int32_t MessageBoxW(void* owner, const QLWChar* text, const QLWChar* caption, uint32_t type) = 0;
    virtual int32_t ReleaseDC(void* dc) = 0;

protected:
    ~CalculatorPlatform() = default;
};

// The current implementation: the platform's own unless a test set another.
CalculatorPlatform& calculatorPlatform();
// Installs p (not owned); null restores the platform's own.
void setCalculatorPlatform(CalculatorPlatform* p);
// The platform's own implementation (taxcalc/win32 or taxcalc/posix).
CalculatorPlatform& nativeCalculatorPlatform();

}  // namespace ql::tax

#endif
