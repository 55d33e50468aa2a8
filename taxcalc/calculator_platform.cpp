// The current implementation of the calculator's platform seam.
#include "taxcalc/calculator_platform.h"

namespace ql::tax {
namespace {
CalculatorPlatform* current = nullptr;
}

CalculatorPlatform& calculatorPlatform() { return current ? *current : nativeCalculatorPlatform(); }

void setCalculatorPlatform(CalculatorPlatform* p) { current = p; }

}  // namespace ql::tax
