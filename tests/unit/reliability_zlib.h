// The zlib library of the platform in a scratch cache folder, and a zlib
// stream built by hand, for the reliability tests that inflate.
#ifndef QL_TESTS_UNIT_RELIABILITY_ZLIB_H
#define QL_TESTS_UNIT_RELIABILITY_ZLIB_H

#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "datafile_test_util.h"
#include "folders_fake.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace reltest {

// The zlib stream of `text` as one stored block: header, block header,
// length and its complement, the bytes, the Adler-32 of the bytes.
inline std::vector<uint8_t> storedZlibStream(const std::string& text) {
    const auto n = static_cast<uint16_t>(text.size());
    std::vector<uint8_t> z = {0x78, 0x01, 0x01, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                              static_cast<uint8_t>(~n), static_cast<uint8_t>(~n >> 8)};
    uint32_t a = 1, b = 0;
    for (unsigned char c : text) {
        z.push_back(c);
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    const uint32_t adler = (b << 16) | a;
    for (int shift = 24; shift >= 0; shift -= 8) z.push_back(static_cast<uint8_t>(adler >> shift));
    return z;
}

// The zlib library of the platform, placed in a scratch cache folder that
// the folder seam reports, so that no real user or system folder is used.
class ScratchZlib {
public:
    explicit ScratchZlib(const std::string& name) : dir_(name) {
        const auto cache = dir_.file("Tamarisk Works") / "Cache";
        dftest::fs::create_directories(cache);
        folders_.fake.bases[ql::kCsidlProgramFiles] = root().string();
#ifdef _WIN32
        const dftest::fs::path system = L"Z:\\usr\\x86_64-w64-mingw32\\lib\\zlib1.dll";
        placed_ = cache / "ZLIB1.dll";
        std::error_code ec;
        available_ = dftest::fs::copy_file(system, placed_, ec);
#else
        const dftest::fs::path system = "/usr/lib/x86_64-linux-gnu/libz.so.1";
        placed_ = cache / "libz.so.1";
        available_ = access(system.c_str(), R_OK) == 0 && symlink(system.c_str(), placed_.c_str()) == 0;
#endif
    }
    bool available() const { return available_; }
    // The library file the objects load.
    const dftest::fs::path& placed() const { return placed_; }
    void forgetCalls() { folders_.fake.calls.clear(); }

private:
    dftest::fs::path root() const { return dir_.file("x").parent_path(); }
    dftest::ScratchDir dir_;
    qltest::ScopedFakeFolders folders_;
    dftest::fs::path placed_;
    bool available_ = false;
};

}  // namespace reltest

#endif
