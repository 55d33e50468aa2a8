// Shared pieces of the measure unit tests: an object for the length of a
// scope, UTF-16 text helpers, and a table with chosen slots replaced.
#ifndef QL_TESTS_UNIT_MEASURE_SUPPORT_H
#define QL_TESTS_UNIT_MEASURE_SUPPORT_H

#include <cstring>
#include <string>

#include "object/qlcommon_impl.h"

namespace measuretest {

using WString = std::basic_string<QLWChar>;

inline WString w(const char* ascii) {
    WString s;
    for (; *ascii; ++ascii) s.push_back(static_cast<QLWChar>(static_cast<unsigned char>(*ascii)));
    return s;
}

inline std::string narrow(const QLWChar* s) {
    std::string out;
    for (; *s; ++s) out.push_back(*s < 128 ? static_cast<char>(*s) : '?');
    return out;
}

class Object {
public:
    Object() : object_(GetQLObject(nullptr)) {}
    ~Object() { QLDestroy(object_); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    ICommon* operator->() const { return object_; }
    ICommon* get() const { return object_; }
    ql::QLState* state() const { return static_cast<ql::QLCommon*>(object_)->state(); }
    // Runs `f` as if the object had no state record.
    template <class F>
    void withoutState(F f) {
        auto* impl = static_cast<ql::QLCommon*>(object_);
        ql::QLState* s = impl->state();
        impl->setState(nullptr);
        f();
        impl->setState(s);
    }

private:
    ICommon* object_;
};

// A copy of an object's interface table with some slots replaced, installed
// for the length of a scope, so a test sees the calls one operation makes to
// another through the table.  The two words before the first slot (offset
// and type information) are copied too.
class PatchedTable {
public:
    explicit PatchedTable(ICommon* object) : object_(object) {
        std::memcpy(&original_, static_cast<void*>(object), sizeof original_);
        std::memcpy(words_, original_ - 2, sizeof words_);
        void** slots = words_ + 2;
        std::memcpy(&view_, &slots, sizeof view_);
        void** patched = words_ + 2;
        std::memcpy(static_cast<void*>(object), &patched, sizeof patched);
    }
    ~PatchedTable() { std::memcpy(static_cast<void*>(object_), &original_, sizeof original_); }
    PatchedTable(const PatchedTable&) = delete;
    PatchedTable& operator=(const PatchedTable&) = delete;
    ICommonVtbl& slots() { return *view_; }

private:
    ICommon* object_;
    void** original_;
    void* words_[2 + QL_SLOT_COUNT];
    ICommonVtbl* view_;
};

}  // namespace measuretest

#endif
