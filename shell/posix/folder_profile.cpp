// Private-profile files for the native build (UTF-8 text, LF or CR LF).
#include "shell/posix/folder_profile.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "object/wide_text.h"

namespace ql {

namespace {

std::string trim(const std::string& s) {
    const char* blanks = " \t\r";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool readLines(const std::string& file, std::vector<std::string>& lines) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF lines
        lines.push_back(line);
    }
    return true;
}

// The section a header line opens, or false when the line is no header.
bool headerName(const std::string& line, std::string& name) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const size_t close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// The key of an entry line, or false when the line has no '='.
bool entryKey(const std::string& line, std::string& key) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = trim(line.substr(0, eq));
    return true;
}

// Index range [begin, end) of the section's lines after its header, or
// false when the section is missing.
bool findSection(const std::vector<std::string>& lines, const std::string& section, size_t& begin, size_t& end) {
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!headerName(lines[i], name) || !sameIgnoringCase(name, section)) continue;
        begin = end = i + 1;
        while (end < lines.size() && !headerName(lines[end], name)) ++end;
        return true;
    }
    return false;
}

bool findEntry(const std::vector<std::string>& lines, size_t begin, size_t end, const std::string& key, size_t& at) {
    std::string k;
    for (at = begin; at < end; ++at)
        if (entryKey(lines[at], k) && sameIgnoringCase(k, key)) return true;
    return false;
}

uint32_t answer(const std::u16string& text, QLWChar* out, uint32_t size) {
    const size_t n = std::min<size_t>(text.size(), size - 1);
    for (size_t i = 0; i < n; ++i) out[i] = static_cast<QLWChar>(text[i]);
    out[n] = 0;
    return static_cast<uint32_t>(n);
}

}  // namespace

uint32_t readProfileString(const std::string& file, const QLWChar* section, const QLWChar* key,
                           const QLWChar* fallback, QLWChar* out, uint32_t size) {
    if (!out || size == 0) return 0;
    std::vector<std::string> lines;
    size_t begin, end, at;
    if (section && key && readLines(file, lines) && findSection(lines, toUtf8(section), begin, end) &&
        findEntry(lines, begin, end, toUtf8(key), at)) {
        std::string value = trim(lines[at].substr(lines[at].find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return answer(fromUtf8(value), out, size);
    }
    std::u16string dflt;
    for (size_t i = 0; fallback && fallback[i] != 0; ++i) dflt += static_cast<char16_t>(fallback[i]);
    return answer(dflt, out, size);
}

bool writeProfileString(const std::string& file, const QLWChar* section, const QLWChar* key, const QLWChar* value) {
    if (!section || !key) return false;
    std::vector<std::string> lines;
    readLines(file, lines);  // a missing file is an empty one
    const std::string entry = toUtf8(key) + "=" + toUtf8(value);
    size_t begin, end, at;
    if (!findSection(lines, toUtf8(section), begin, end)) {
        if (!value) return true;  // nothing to remove
        lines.push_back("[" + toUtf8(section) + "]");
        lines.push_back(entry);
    } else if (findEntry(lines, begin, end, toUtf8(key), at)) {
        if (value)
            lines[at] = entry;
        else
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
    } else if (value) {
        size_t insertAt = end;  // after the section's last non-blank line
        while (insertAt > begin && trim(lines[insertAt - 1]).empty()) --insertAt;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry);
    }
    std::ofstream outFile(file, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) outFile << line << "\r\n";
    return static_cast<bool>(outFile);
}

}  // namespace ql
