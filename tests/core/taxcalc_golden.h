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

template <class Chars>
std::string narrow(const Chars& text) {
    std::string s;
    for (auto c : text) s.push_back(c < 128 ? static_cast<char>(c) : '?');
    return s;
}

// "" when got equals the file's text (its last line end dropped);
// otherwise the first differing line.  With tabRuns set, a run of tabs
// counts as one tab on both sides (the screen font decides how many).
inline std::string compare(std::string got, const std::string& file, bool tabRuns = false) {
    const std::string dir = __FILE__;
    std::ifstream in(dir.substr(0, dir.find_last_of("/\\") + 1) + "taxcalc_examples/" + file, std::ios::binary);
    if (!in.is_open()) return "cannot read " + file;
    std::string want((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!want.empty() && want.back() == '\n') want.pop_back();
    if (tabRuns) got = std::regex_replace(got, std::regex("\t+"), "\t"), want = std::regex_replace(want, std::regex("\t+"), "\t");
    std::istringstream g(got), w(want);
    std::string gl, wl;
    for (int line = 1;; ++line) {
        const bool more = static_cast<bool>(std::getline(g, gl)), wants = static_cast<bool>(std::getline(w, wl));
        if (!more && !wants) return "";
        if (!more || !wants || gl != wl)
            return file + " line " + std::to_string(line) + ":\n  got:  " + (more ? gl : "(end)") +
                   "\n  want: " + (wants ? wl : "(end)") + "\nwhole text:\n" + got;
    }
}

}  // namespace golden

#endif
