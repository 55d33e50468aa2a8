// Owned<T, close>: the one holder of the library.  It keeps a handle of
// type T (a pointer, a HANDLE, an HWND, a COM pointer, ...) and passes it to
// `close` when it is reset or goes out of scope.  Empty, it holds T{} (null:
// every handle the library keeps means "none" by null, the data file's too,
// whose open turns CreateFileW's INVALID_HANDLE_VALUE into null) and closes
// nothing.  It is exactly as large as T, so a field of the state record
// keeps its size when it becomes an owner.
//     using FileHandle = Owned<HANDLE, closeSystemHandle>;
// An out-parameter writes straight into a holder: f(..., holder.put()).
#ifndef QL_BASE_OWNED_H
#define QL_BASE_OWNED_H

#include <utility>

namespace ql {

template <typename T, auto close>
class Owned {
public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    ~Owned() { reset(); }

    Owned(Owned&& other) noexcept : value_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T get() const { return value_; }
    explicit operator bool() const { return value_ != T{}; }

    // Closes the value held (if any) and holds `value` instead.
    void reset(T value = T{}) {
        T old = std::exchange(value_, value);
        if (old != T{}) close(old);
    }
    // Gives the value up without closing it.
    T release() { return std::exchange(value_, T{}); }
    // Empties the holder and lends its field to an out-parameter.
    T* put() {
        reset();
        return &value_;
    }

private:
    T value_ = T{};
};

}  // namespace ql

#endif
