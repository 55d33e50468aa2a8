// Golden transcripts of the calculator: the expected texts in
// tests/core/taxcalc_examples/*.txt, compared whole.  Used by the core and
// the host tests alike.
#pragma once

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace golden {

// A UTF-16 text as ASCII, anything else as '?'.
template <class Chars> std::string narrow(const Chars& text) { std::string s; for (auto c : text) s += c < 128 ? static_cast<char>(c) : '?'; return s; }

// "" when got plus a line end equals the file's text; otherwise both texts.
// With tabRuns set, a run of tabs counts as one tab (the screen font
// decides how many the real dialogs put).
inline std::string compare(std::string got, const std::string& file, bool tabRuns = false) {
    const std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.find_last_of("/\\") + 1) + "taxcalc_examples/" + file, std::ios::binary);
    std::string want((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (tabRuns) got = std::regex_replace(got, std::regex("\t+"), "\t"), want = std::regex_replace(want, std::regex("\t+"), "\t");
    return got + "\n" == want ? "" : file + " differs; got:\n" + got + "\nwant:\n" + want;
}

}  // namespace golden
