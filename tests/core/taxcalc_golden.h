// Golden transcripts of the calculator: the expected texts in
// tests/core/taxcalc_examples/*.txt, compared whole, a failure naming the
// first line that differs.  Used by the core and the host tests alike.
#ifndef QL_TESTS_TAXCALC_GOLDEN_H
#define QL_TESTS_TAXCALC_GOLDEN_H

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace golden {

// A UTF-16 text as ASCII, anything else as '?'.
template <class Chars>
std::string narrow(const Chars& text) { std::string s; for (auto c : text) s += c < 128 ? static_cast<char>(c) : '?'; return s; }

// "" when got equals the file's text; otherwise the first differing line.
// With tabRuns set, a run of tabs counts as one tab (the screen font
// decides how many the real dialogs put).
inline std::string compare(std::string got, const std::string& file, bool tabRuns = false) {
    const std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.find_last_of("/\\") + 1) + "taxcalc_examples/" + file, std::ios::binary);
    std::string want((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (tabRuns) got = std::regex_replace(got, std::regex("\t+"), "\t"), want = std::regex_replace(want, std::regex("\t+"), "\t");
    std::istringstream g(got + "\n"), w(want);  // the file ends with a line end, the text does not
    std::string gl, wl;
    for (int line = 1;; ++line) {
        const bool hasGot = static_cast<bool>(std::getline(g, gl)), hasWant = static_cast<bool>(std::getline(w, wl));
        if (!hasGot && !hasWant) return "";
        if (hasGot != hasWant || gl != wl)
            return file + " line " + std::to_string(line) + ":\n  got:  " + (hasGot ? gl : "(end)") +
                   "\n  want: " + (hasWant ? wl : "(end)") + "\nwhole text:\n" + got;
    }
}

}  // namespace golden

#endif
