// qlhost measure: a measure text to thousandths of an inch, or whole
// thousandths to text in a unit, through the library's table.
//   qlhost measure "1 1/2"                       inches to thousandths: 1500
//   qlhost measure 1500 --to inches --decimals 3 thousandths to text: 1.500
#include <cstdio>
#include <limits>
#include <regex>
#include <string>

#include "qlhost.h"

namespace qlhost {
namespace {

const wchar_t* const kUnits[] = {L"feet", L"inches", L"thousandths", L"centimetres", L"millimetres"};

int unitCode(const std::wstring& name, const char* option) {
    for (int i = 0; i < 5; ++i)
        if (name == kUnits[i]) return i;
    if (name == L"centimeters") return unitCentimeters;
    if (name == L"millimeters") return unitMillimeters;
    throw UsageError(std::string(option) + ": unknown unit '" + narrow(name) + "'");
}

// What a user types for a length: a decimal number or a fraction ("3/4",
// "1 1/2", "3\4"), then "mm" or "dia" markers and a last "+" or "-".
void checkMeasureText(const std::wstring& text) {
    static const std::wregex form(LR"(^[-+]?(\d+\.?\d*|\.\d+)(( [-+]?\d+)?[/\\][-+]?(\d+\.?\d*|\.\d+))?( ?(mm|dia))*[-+]?$)");
    static const std::wregex zeroDenominator(LR"([/\\][-+]?0*\.?0*( |mm|dia|[-+]|$))");
    if (!std::regex_match(text, form))
        throw UsageError("'" + narrow(text) + "' is not a measure (a number or a fraction like 1 1/2, "
                         "then mm or dia, then a sign)");
    if (std::regex_search(text, zeroDenominator)) throw UsageError("'" + narrow(text) + "' divides by zero");
}

}  // namespace

int runMeasure(const Args& args, const WindowOptions&) {
    std::wstring text;
    bool haveText = false;
    int from = unitInches, to = unitThousandths, decimals = 3;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool option = args[i] == L"--from" || args[i] == L"--to" || args[i] == L"--decimals";
        if (option && i + 1 >= args.size()) throw UsageError(narrow(args[i]) + " needs a value");
        if (args[i] == L"--from") from = unitCode(args[++i], "--from");
        else if (args[i] == L"--to") to = unitCode(args[++i], "--to");
        else if (args[i] == L"--decimals") decimals = wholeNumber(args[++i], 0, 12, "--decimals");
        else if (haveText) throw UsageError("unexpected argument '" + narrow(args[i]) + "'");
        else text = args[i], haveText = true;
    }
    if (!haveText) throw UsageError("TEXT is missing");
    Object service;
    if (to == unitThousandths) {
        checkMeasureText(text);
        // Inches go through the fractional parser, which converts only
        // inches to thousandths; other units through ParseMeasure.
        int32_t rounded = 0;
        const bool sign = service->ParseFractionalMeasureRounded(text.c_str(), from, &rounded, unitThousandths);
        std::printf("%d\n", from == unitInches ? rounded : service->ParseMeasure(text.c_str(), from));
        if (sign) std::fprintf(stderr, "(the text ends in a sign)\n");
        return 0;
    }
    if (from != unitThousandths) throw UsageError("one of --from and --to must be thousandths");
    const int32_t thousandths = wholeNumber(text, std::numeric_limits<int32_t>::min(),
                                            std::numeric_limits<int32_t>::max(), "TEXT in thousandths");
    wchar_t out[128];
    service->FormatMeasure(thousandths, out, 128, to, decimals);
    std::printf("%s\n", narrow(out).c_str());
    return 0;
}

}  // namespace qlhost
