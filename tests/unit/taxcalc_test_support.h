// Shared pieces of the calculator's unit tests: UTF-16 literals, a text
// measurer that behaves like the screen with a fixed-pitch font, and a
// recording platform whose values dialog answers from a script.
#ifndef QL_TESTS_UNIT_TAXCALC_TEST_SUPPORT_H
#define QL_TESTS_UNIT_TAXCALC_TEST_SUPPORT_H

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "taxcalc/calculator_platform.h"
#include "taxcalc/calculator_state.h"
#include "taxcalc/income_entry.h"
#include "taxcalc/text.h"
#include "taxcalc/values_entry.h"

namespace taxtest {

using ql::tax::Text;
using ql::tax::ascii;

inline std::string narrow(const Text& t) {
    std::string s;
    for (QLWChar c : t) s.push_back(c < 128 ? static_cast<char>(c) : '?');
    return s;
}

// Every character is charWidth wide (the average width too); a tab moves
// to the next tab stop beyond the text so far, or to the next multiple of
// 8 average widths once the stops are used up, as GetTabbedTextExtentW
// does.
inline uint32_t fixedPitchExtent(const Text& text, int32_t tabCount, const int32_t* stops, int32_t charWidth = 6) {
    int32_t x = 0;
    for (QLWChar c : text) {
        if (c != '\t') {
            x += charWidth;
            continue;
        }
        while (tabCount > 0 && *stops <= x) ++stops, --tabCount;
        x = tabCount > 0 ? *stops : (x / (8 * charWidth) + 1) * 8 * charWidth;
    }
    return static_cast<uint32_t>(x) | (13u << 16);
}

// One values dialog answer: the two field texts typed, and OK or Cancel.
struct ValuesAnswer {
    std::string first;   // "" keeps the preset
    std::string second;
    bool ok = true;
};

struct FakePlatform final : ql::tax::CalculatorPlatform {
    std::vector<ValuesAnswer> answers;  // consumed in order by the values dialog
    std::vector<int32_t> modesAsked;
    std::vector<ql::tax::ValuesSetup> shown;  // what each values dialog showed
    std::vector<std::string> calls;
    std::vector<std::pair<std::string, std::string>> messages;  // caption, text
    bool haveDc = true;
    intptr_t mainDialogCode = 1;

    intptr_t DialogBoxParamW(int32_t templateId, void* owner) override {
        calls.push_back("DialogBoxParamW " + std::to_string(templateId) + " " + (owner ? "owner" : "null"));
        if (templateId != IDD_VALUES) return mainDialogCode;
        ql::tax::CalculatorState& s = ql::tax::calculatorState();
        modesAsked.push_back(s.valuesMode);
        ql::tax::ValuesSetup v = ql::tax::SetupValues(s.valuesMode, s);
        shown.push_back(v);
        if (answers.empty()) return 2;
        ValuesAnswer a = answers.front();
        answers.erase(answers.begin());
        if (!a.ok) return 2;
        Text first = a.first.empty() ? v.firstText : ascii(a.first.c_str());
        Text second = a.second.empty() ? v.secondText : ascii(a.second.c_str());
        return ql::tax::AcceptValues(s.valuesMode, first, second, s).refused() ? 2 : 1;
    }
    void* GetDC() override {
        calls.push_back("GetDC");
        return haveDc ? this : nullptr;
    }
    uint32_t GetTabbedTextExtentW(void*, const QLWChar* text, int32_t count, int32_t tabCount,
                                  const int32_t* stops) override {
        return fixedPitchExtent(Text(text, static_cast<size_t>(count)), tabCount, stops);
    }
    int32_t MessageBoxW(void* owner, const QLWChar* text, const QLWChar* caption, uint32_t type) override {
        calls.push_back("MessageBoxW " + std::string(owner ? "owner" : "null") + " " + std::to_string(type));
        messages.emplace_back(narrow(caption), narrow(text));
        return 1;
    }
    int32_t ReleaseDC(void*) override {
        calls.push_back("ReleaseDC");
        return 1;
    }
};

// Installs a fake for the length of a scope.
struct ScopedPlatform {
    explicit ScopedPlatform(ql::tax::CalculatorPlatform& p) { ql::tax::setCalculatorPlatform(&p); }
    ~ScopedPlatform() { ql::tax::setCalculatorPlatform(nullptr); }
};

// An entry as the income dialog builds it.
inline ql::tax::IncomeRecord entry(const char* employer, int32_t start, int32_t end, const char* net,
                                   const char* withholding, int32_t kind, int32_t currentMonth) {
    ql::tax::IncomeInputs in{ascii(employer), start, end, ascii(net), ascii(withholding), kind};
    return ql::tax::CheckIncome(in, currentMonth).record;
}

}  // namespace taxtest

#endif
