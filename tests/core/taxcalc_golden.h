// The calculator's golden transcripts, tests/core/taxcalc_examples/*.txt, for the core and the host tests.
#pragma once

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

namespace golden {

// A UTF-16 text as ASCII, anything else as '?'.
template <class Chars>
std::string narrow(const Chars& text) {
    std::string s;
    for (auto c : text) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

// "" when got and a line end are the file's text, else both.  With tabRuns a run of tabs counts as one (on the
// screen the font decides how many there are).
inline std::string compare(std::string got, const std::string& file, bool tabRuns = false) {
    const std::string here = __FILE__;
    std::ifstream in(here.substr(0, here.find_last_of("/\\") + 1) + "taxcalc_examples/" + file, std::ios::binary);
    std::string want((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (tabRuns) got = std::regex_replace(got, std::regex("\t+"), "\t");
    if (tabRuns) want = std::regex_replace(want, std::regex("\t+"), "\t");
    return got + "\n" == want ? "" : file + " differs; got:\n" + got + "\nwant:\n" + want;
}

}  // namespace golden
