// Helpers for the data file tests: scratch files, UTF-16 paths, a service
// object per scope, and a spy on slot 25 for the progress reports.
#ifndef QL_TESTS_UNIT_DATAFILE_TEST_UTIL_H
#define QL_TESTS_UNIT_DATAFILE_TEST_UTIL_H

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "object/qlcommon_impl.h"

namespace dftest {

namespace fs = std::filesystem;
using QLString = std::basic_string<QLWChar>;

inline QLString qlPath(const fs::path& p) {
#ifdef _WIN32
    return p.wstring();
#else
    return p.u16string();
#endif
}

// A folder of its own for each test, removed afterwards.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name)
        : dir_(fs::temp_directory_path() / ("qlcommon-datafile-" + name)) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path file(const std::string& utf8Name) const { return dir_ / fs::u8path(utf8Name); }

private:
    fs::path dir_;
};

inline std::vector<uint8_t> readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Bytes that tell their position: a misplaced or lost byte shows.
inline std::vector<uint8_t> pattern(size_t n, uint32_t seed = 7) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i * 131 + seed * 7 + (i >> 8)) & 0xFF);
    return v;
}

// One service object for a scope.
class Object {
public:
    Object() : object_(GetQLObject(nullptr)) {}
    ~Object() {
        if (object_) QLDestroy(object_);
    }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ICommon* operator->() const { return object_; }
    ICommon* get() const { return object_; }
    ql::QLState& state() const { return *static_cast<ql::QLCommon*>(object_)->state(); }
    // Destroys now, as a host would.
    void destroy() {
        QLDestroy(object_);
        object_ = nullptr;
    }

private:
    ICommon* object_;
};

// A private copy of one object's interface table, installed for a scope,
// in which a test replaces slots to watch the calls one operation makes to
// another through the table.  The two words before the slots (offset to
// top, type information) come along, so the copy still describes a
// QLCommon.  A replacement is a plain function taking the object first.
class TableCopy {
public:
    explicit TableCopy(ICommon* object) : object_(object), original_(*reinterpret_cast<void***>(object)) {
        std::copy(original_ - kHeader, original_ + kSlots, table_);
        *reinterpret_cast<void***>(object_) = table_ + kHeader;
    }
    ~TableCopy() { *reinterpret_cast<void***>(object_) = original_; }
    TableCopy(const TableCopy&) = delete;
    TableCopy& operator=(const TableCopy&) = delete;

    template <typename Fn>
    void replace(int slot, Fn* fn) { table_[kHeader + slot] = reinterpret_cast<void*>(fn); }
    template <typename Fn>
    Fn* original(int slot) const { return reinterpret_cast<Fn*>(original_[slot]); }

private:
    static constexpr int kHeader = 2;
    static constexpr int kSlots = 70;
    ICommon* object_;
    void** original_;
    void* table_[kHeader + kSlots];
};

// Replaces slot 25 (SetProgressPos) with a recorder, so a test sees every
// progress report the data file operations make through the table.  The
// recorder stores the position as the progress window does.
class ProgressSpy {
public:
    explicit ProgressSpy(Object& obj, void* window = reinterpret_cast<void*>(0x1)) : table_(obj.get()) {
        table_.replace(kSetProgressPosSlot, &record);
        current() = this;
        obj.state().progressWindow = window;
    }
    ~ProgressSpy() { current() = nullptr; }
    ProgressSpy(const ProgressSpy&) = delete;
    ProgressSpy& operator=(const ProgressSpy&) = delete;

    std::vector<int32_t> positions;

private:
    static constexpr int kSetProgressPosSlot = 25;
    static ProgressSpy*& current() {
        static ProgressSpy* spy = nullptr;
        return spy;
    }
    static void record(ICommon* self, int32_t pos) {
        static_cast<ql::QLCommon*>(self)->state()->progressPos = pos;
        current()->positions.push_back(pos);
    }
    TableCopy table_;
};

}  // namespace dftest

#endif
