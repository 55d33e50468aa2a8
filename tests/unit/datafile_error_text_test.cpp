// The message table behind GetLastErrorText, and the translation of the
// runtime's errno into its numbers.
#include <gtest/gtest.h>

#include <cerrno>

#include "datafile/error_numbers.h"
#include "datafile_test_util.h"

namespace {

using namespace dftest;

QLString textFor(Object& obj, int32_t number, int32_t capacity = 72) {
    obj.state().streamError = number;
    QLWChar buf[80];
    std::fill(buf, buf + 80, QLWChar('x'));
    buf[1] = 0;  // "x"
    obj->GetLastErrorText(buf, capacity);
    return buf;
}

TEST(DatafileErrorText, Messages) {
    Object obj;
    EXPECT_EQ(textFor(obj, 2), qlPath("No such file or directory"));
    EXPECT_EQ(textFor(obj, 13), qlPath("Permission denied"));
    EXPECT_EQ(textFor(obj, 80), qlPath("String was truncated"));
    EXPECT_EQ(textFor(obj, 36), qlPath("Resource deadlock would occur"));
    EXPECT_EQ(textFor(obj, 33), qlPath("Math argument"));
    EXPECT_EQ(textFor(obj, 38), qlPath("File name too long"));
    // The longest has 71 characters and fits 72 units.
    EXPECT_EQ(textFor(obj, 11).size(), 71u);
    // No message: the buffer stays exactly as it was.
    for (int32_t n : {0, 15, 26, 35, 37, 43, 79, 81, -1}) EXPECT_EQ(textFor(obj, n), qlPath("x")) << n;
}

TEST(DatafileErrorText, BoundedByTheCapacity) {
    Object obj;
    obj.state().streamError = 2;
    QLWChar buf[8];
    std::fill(buf, buf + 8, QLWChar('#'));
    obj->GetLastErrorText(buf, 0);
    obj->GetLastErrorText(nullptr, 72);
    EXPECT_EQ(buf[0], QLWChar('#'));
    obj->GetLastErrorText(buf, 4);  // cut to fit, still terminated
    EXPECT_EQ(QLString(buf), qlPath("No "));
    EXPECT_EQ(buf[4], QLWChar('#'));
    obj->GetLastErrorText(buf, 1);
    EXPECT_EQ(buf[0], 0);
    EXPECT_EQ(buf[1], QLWChar('o'));
}

TEST(DatafileErrorText, RuntimeErrorsTranslateByName) {
    EXPECT_EQ(ql::savedErrorNumber(ENOENT), 2);
    EXPECT_EQ(ql::savedErrorNumber(EACCES), 13);
    EXPECT_EQ(ql::savedErrorNumber(ENAMETOOLONG), 38);
    EXPECT_EQ(ql::savedErrorNumber(ENOSYS), 40);
    EXPECT_EQ(ql::savedErrorNumber(ENOTEMPTY), 41);
    EXPECT_EQ(ql::savedErrorNumber(EILSEQ), 42);
    EXPECT_EQ(ql::savedErrorNumber(0), 5);  // a failure is never saved as 0
}

}  // namespace
