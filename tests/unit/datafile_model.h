// A random write-then-read sequence on the data file, checked byte for byte
// against a simple model of the file, the read position and the piece of
// the file held in the 65536-byte buffer.  Calls go only through ICommon,
// so the same sequence runs on the library's code natively and on the DLL
// from a host under Wine.
#ifndef QL_TESTS_UNIT_DATAFILE_MODEL_H
#define QL_TESTS_UNIT_DATAFILE_MODEL_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "qlcommon.h"

namespace dfmodel {

using Bytes = std::vector<uint8_t>;
constexpr size_t kFill = 65536;
constexpr size_t kGuardBytes = 16;
constexpr uint8_t kGuard = 0xA5;

// The readers' view: the file, the next byte, and the piece of the file the
// last refill fetched.  A refill happens only when the piece is used up and
// another byte is wanted, exactly as in the library.
struct ReadModel {
    const Bytes& file;
    size_t cursor = 0, fillStart = 0, fillEnd = 0;

    bool next(uint8_t* b) {
        if (cursor == fillEnd) {
            fillStart = cursor;
            fillEnd = cursor >= file.size() ? cursor : std::min(file.size(), cursor + kFill);
            if (fillEnd == fillStart) return false;
        }
        *b = file[cursor++];
        return true;
    }
    uint32_t bufferPos() const { return static_cast<uint32_t>(cursor - fillStart); }
};

inline void terminateField(Bytes& out, uint32_t n, uint32_t capacity) {
    const uint32_t at = n + 2 <= capacity ? n : capacity - 2;
    out[at] = out[at + 1] = 0;
}

class Sequence {
public:
    Sequence(ICommon* obj, uint32_t seed) : obj_(obj), rng_(seed) {}

    // Writes a random file at path through either back end (over earlier
    // content when appending), then reads it back with random reads.
    void run(const std::basic_string<QLWChar>& path, const std::function<void(const Bytes&)>& preset,
             int reads) {
        Bytes file;
        if (chance(4)) {
            file = randomBytes(below(3000));
            preset(file);
        } else {
            preset({});
        }
        const bool append = chance(2);
        if (!append) file.clear();
        const bool handle = chance(2);
        ASSERT_TRUE(handle ? obj_->OpenFileHandle(path.c_str(), qlModeWrite, append)
                           : obj_->OpenFile(path.c_str(), qlModeWrite, append));
        uint32_t accepted = 0;
        for (int i = 0, writes = 1 + below(12); i < writes; ++i) {
            const Bytes piece = randomBytes(writeSize());
            if (handle && chance(2)) obj_->WriteBytesHandle(piece.data(), static_cast<uint32_t>(piece.size()));
            else obj_->WriteBytes(piece.data(), static_cast<uint32_t>(piece.size()));
            accepted += static_cast<uint32_t>(piece.size());
            file.insert(file.end(), piece.begin(), piece.end());
            ASSERT_EQ(obj_->GetByteCount(), accepted);
        }
        if (handle && chance(2)) obj_->CloseFileHandle();
        else obj_->CloseFile();
        ASSERT_EQ(obj_->GetByteCount(), 0u);

        ASSERT_TRUE(obj_->OpenFile(path.c_str(), qlModeRead, 0));
        ASSERT_EQ(obj_->GetByteCount(), file.size());
        ReadModel model{file};
        for (int i = 0; i < reads; ++i) {
            SCOPED_TRACE("read " + std::to_string(i));
            readOnce(model);
            ASSERT_EQ(obj_->GetBufferPos(), model.bufferPos());
            if (::testing::Test::HasFatalFailure() || ::testing::Test::HasNonfatalFailure()) return;
        }
        obj_->CloseFile();
    }

private:
    uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(rng_() % n) : 0; }
    bool chance(uint32_t oneIn) { return below(oneIn) == 0; }

    uint32_t writeSize() {
        switch (below(8)) {
        case 0: return 60000 + below(11000);  // around a buffer
        case 1: return below(200001);
        case 2: case 3: return below(4097);
        default: return below(65);
        }
    }
    uint32_t readCount() {
        switch (below(6)) {
        case 0: return below(150001);
        case 1: return below(5001);
        default: return below(301);
        }
    }
    // Random bytes rich in the bytes the readers stop at.
    Bytes randomBytes(size_t n) {
        static const uint8_t special[] = {10, 13, 9, 0, ',', 0x80, 0xFF};
        Bytes b(n);
        for (auto& x : b) x = chance(6) ? special[below(sizeof special)] : static_cast<uint8_t>(rng_());
        return b;
    }

    void readOnce(ReadModel& m) {
        const uint32_t capacity = chance(10) ? below(70001) : below(301);
        Bytes actual(capacity + kGuardBytes, kGuard), expected = actual;
        auto* dest = actual.data();
        switch (below(7)) {
        case 0: {  // ReadBytes, copying or skipping
            const uint32_t count = readCount();
            const bool skip = chance(3);
            Bytes a(count + kGuardBytes, kGuard), e = a;
            uint32_t n = 0;
            for (uint8_t b; n < count && m.next(&b); ++n)
                if (!skip) e[n] = b;
            ASSERT_EQ(obj_->ReadBytes(skip ? nullptr : a.data(), count), n);
            ASSERT_EQ(a, e);
            return;
        }
        case 1: {  // ReadBlock
            const uint32_t count = readCount();
            Bytes a(count + kGuardBytes, kGuard), e = a;
            uint32_t n = 0;
            for (uint8_t b; n < count && m.next(&b); ++n) e[n] = b;
            ASSERT_EQ(obj_->ReadBlock(a.data(), count), n);
            ASSERT_EQ(a, e);
            return;
        }
        case 2: {  // ReadField
            const uint8_t term = pickTerminator(m);
            uint32_t n = 0;
            if (capacity >= 2) {
                for (uint8_t b; n < capacity && m.next(&b);) {
                    expected[n++] = b;
                    if (b == term) break;
                }
                terminateField(expected, n, capacity);
            }
            ASSERT_EQ(obj_->ReadField(reinterpret_cast<char*>(dest), static_cast<int32_t>(capacity), term),
                      static_cast<int32_t>(n));
            break;
        }
        case 3: {  // ReadWideField
            const uint16_t term = chance(8) ? static_cast<uint16_t>(128 + below(65000)) : pickTerminator(m);
            const bool lineFeed = chance(2);
            uint32_t n = 0;
            if (capacity >= 2) {
                bool matched = false;
                for (uint8_t b; n < capacity && !matched && m.next(&b);) {
                    expected[n++] = b;
                    matched = (term <= 127 && b == term) || (lineFeed && b == 10);
                }
                if (matched) {
                    if (n < capacity) expected[n] = 0;
                    uint8_t b;
                    if (m.next(&b)) ++n;
                }
                terminateField(expected, n, capacity);
            }
            ASSERT_EQ(obj_->ReadWideField(reinterpret_cast<QLWChar*>(dest), static_cast<int32_t>(capacity), term,
                                          lineFeed),
                      static_cast<int32_t>(n / 2));
            break;
        }
        case 4: {  // ReadLine
            uint32_t result = capacity;
            if (capacity == 0) result = 0;
            for (uint32_t n = 0; n < capacity; ++n) {
                uint8_t b;
                if (!m.next(&b)) {
                    expected[n] = 0;
                    result = n;
                    break;
                }
                if (b == 10) {
                    expected[n] = 0;
                    if (n > 0 && expected[n - 1] == 13) expected[n - 1] = 0;
                    result = n + 1;
                    break;
                }
                expected[n] = b;
            }
            ASSERT_EQ(obj_->ReadLine(reinterpret_cast<char*>(dest), capacity), result);
            break;
        }
        case 5: {  // SeekRead, sometimes past the end or before the start
            const int32_t offset = chance(10) ? -1 - static_cast<int32_t>(below(5))
                                              : static_cast<int32_t>(below(static_cast<uint32_t>(m.file.size()) + 10));
            const bool ok = offset >= 0;
            if (ok) m.cursor = m.fillStart = m.fillEnd = static_cast<size_t>(offset);
            ASSERT_EQ(obj_->SeekRead(offset) != 0, ok);
            return;
        }
        default:
            return;  // only GetBufferPos, checked after every call
        }
        ASSERT_EQ(actual, expected);
    }

    // Mostly a byte that occurs soon, so fields end inside the capacity.
    uint8_t pickTerminator(const ReadModel& m) {
        if (m.cursor < m.file.size() && !chance(4))
            return m.file[std::min(m.file.size() - 1, m.cursor + below(200))];
        return static_cast<uint8_t>(below(128));
    }

    ICommon* obj_;
    std::mt19937 rng_;
};

}  // namespace dfmodel

#endif
