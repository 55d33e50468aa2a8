// qlhost measure: converts a measure text to thousandths of an inch, or
// thousandths to text in a unit, through the library's table.
//   qlhost measure "1 1/2" --from inches --to thousandths
//   qlhost measure 1500 --from thousandths --to inches --decimals 3
#include <cstdio>
#include <cwchar>
#include <string>

#include "qlhost.h"

namespace qlhost {
namespace {

int unitCode(const std::wstring& name) {
    const wchar_t* names[] = {L"feet", L"inches", L"thousandths", L"centimeters", L"millimeters"};
    for (int i = 0; i < 5; ++i)
        if (name == names[i]) return i;
    if (name == L"centimetres") return unitCentimeters;
    if (name == L"millimetres") return unitMillimeters;
    return -1;
}

int usage() {
    std::fprintf(stderr,
                 "usage: qlhost measure TEXT --from UNIT --to UNIT [--decimals N]\n"
                 "  units: feet inches thousandths centimeters millimeters\n"
                 "  --to thousandths: TEXT in the --from unit to thousandths of an inch\n"
                 "                    (inches: fractions and a trailing sign allowed)\n"
                 "  --from thousandths: TEXT (a whole number) to the --to unit\n");
    return 2;
}

int runMeasure(Library& lib, const Args& args) {
    std::wstring text, from = L"inches", to = L"thousandths";
    int decimals = 3;
    bool haveText = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--from" && i + 1 < args.size()) from = args[++i];
        else if (args[i] == L"--to" && i + 1 < args.size()) to = args[++i];
        else if (args[i] == L"--decimals" && i + 1 < args.size()) decimals = std::wcstol(args[++i].c_str(), nullptr, 10);
        else if (!haveText) { text = args[i]; haveText = true; }
        else return usage();
    }
    const int fromUnit = unitCode(from), toUnit = unitCode(to);
    if (!haveText || fromUnit < 0 || toUnit < 0) return usage();
    Service service(lib);
    if (toUnit == unitThousandths) {
        // Inches go through the fractional parser, which converts only
        // inches to thousandths; other units through ParseMeasure.  Both
        // readings are shown on the error stream.
        int32_t rounded = 0;
        float value = 0;
        const bool sign = service->ParseFractionalMeasureW(text.c_str(), fromUnit, &value, unitThousandths) != 0;
        service->ParseFractionalMeasureRounded(text.c_str(), fromUnit, &rounded, unitThousandths);
        const int32_t parsed = service->ParseMeasure(text.c_str(), fromUnit);
        std::printf("%d\n", fromUnit == unitInches ? rounded : parsed);
        std::fprintf(stderr, "ParseFractionalMeasureW: %.4f%s; ParseMeasure: %d\n", value,
                     sign ? " (signed)" : "", parsed);
        return 0;
    }
    if (fromUnit != unitThousandths) return usage();
    const int32_t thousandths = service->ParseMeasure(text.c_str(), unitThousandths);
    wchar_t out[128];
    service->FormatMeasure(thousandths, out, 128, toUnit, decimals);
    std::printf("%s\n", narrow(out).c_str());
    return 0;
}

const bool registered = registerCommand(
    {"measure", "TEXT --from UNIT --to UNIT [--decimals N]",
     "converts a measure text to thousandths, or thousandths to a unit", runMeasure});

}  // namespace
}  // namespace qlhost
