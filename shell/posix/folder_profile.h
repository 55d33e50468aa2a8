// Private-profile (INI) files for the native build: the behaviour of
// GetPrivateProfileStringW and WritePrivateProfileStringW on a UTF-8 file.
#ifndef QL_SHELL_POSIX_FOLDER_PROFILE_H
#define QL_SHELL_POSIX_FOLDER_PROFILE_H

#include <cstdint>
#include <string>

#include "qlcommon.h"

namespace ql {

// Section and key match without regard to ASCII case; white space around a
// value and one pair of enclosing quotation marks are dropped.  Any miss
// gives the fallback.  The answer is truncated to size - 1 units and
// terminated; the units copied come back.
uint32_t readProfileString(const std::string& file, const QLWChar* section, const QLWChar* key,
                           const QLWChar* fallback, QLWChar* out, uint32_t size);

// Creates the file and the section when missing, replaces an existing
// value, removes the key for a null value.  False when the file cannot be
// read or written.
bool writeProfileString(const std::string& file, const QLWChar* section, const QLWChar* key, const QLWChar* value);

}  // namespace ql

#endif
