// Once-per-name warnings, checked through a recording message box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "object/qlcommon_impl.h"
#include "shell/warning_platform.h"
#include "object/wide_text.h"
#include "platform_fakes.h"


namespace {

using Text = std::basic_string<QLWChar>;

struct Box {
    void* owner;
    Text text, caption;
    uint32_t type;
};

struct FakeBoxes final : ql::WarningPlatform {
    std::vector<Box> shown;
    int32_t MessageBoxW(void* owner, const QLWChar* text, const QLWChar* caption, uint32_t type) override {
        shown.push_back({owner, text, caption, type});
        return 1;
    }
};

void* const kOwner = reinterpret_cast<void*>(0x4000);

class Warnings : public ::testing::Test {
protected:
    void TearDown() override { QLDestroy(obj); }
    ql::QLState& state() { return *static_cast<ql::QLCommon*>(obj)->state(); }

    FakeBoxes boxes;

private:
    qltest::NoWindows windows_;
    qltest::ScopedPlatform<ql::WarningPlatform> boxesInstalled_{ql::setWarningPlatform, &boxes};
    qltest::ScopedPlatform<ql::ProgressPlatform> windowsInstalled_{ql::setProgressPlatform, &windows_};

protected:
    ICommon* obj = GetQLObject(nullptr);
};

TEST_F(Warnings, CaptionsAndTextsByKind) {
    obj->BeginProgress(reinterpret_cast<void*>(0x3000), nullptr, 1);
    obj->BeginProgress(kOwner, nullptr, 1);  // the last parent owns the boxes
    obj->WarnMissingResource(QL_WIDE("logo.bmp"), warnImage);
    obj->WarnMissingResource(QL_WIDE("Script"), warnFontSingleLine);
    obj->WarnMissingResource(QL_WIDE("Gothic"), warnFontArial);
    obj->WarnMissingResource(QL_WIDE("part.xlg"), warnXlgImage);
    ASSERT_EQ(boxes.shown.size(), 4u);
    for (const Box& b : boxes.shown) {
        EXPECT_EQ(b.owner, kOwner);
        EXPECT_EQ(b.type, 0u);
    }
    EXPECT_EQ(boxes.shown[0].caption, QL_WIDE("Image is either missing or irrelevant"));
    EXPECT_EQ(boxes.shown[0].text, QL_WIDE("logo.bmp"));
    EXPECT_EQ(boxes.shown[1].caption, QL_WIDE("Font is either missing or irrelevant"));
    EXPECT_EQ(boxes.shown[1].text, QL_WIDE("Script\n\nReplacing with Elementary Single Line"));
    EXPECT_EQ(boxes.shown[2].caption, QL_WIDE("Font is either missing or irrelevant"));
    EXPECT_EQ(boxes.shown[2].text, QL_WIDE("Gothic\n\nReplacing with Arial"));
    EXPECT_EQ(boxes.shown[3].caption, QL_WIDE("XLG Image is either missing or irrelevant"));
    EXPECT_EQ(boxes.shown[3].text, QL_WIDE("part.xlg"));
}

TEST_F(Warnings, OncePerNameCaseSensitiveWhateverTheKind) {
    obj->BeginProgress(kOwner, nullptr, 1);
    obj->WarnMissingResource(QL_WIDE("Arial Black"), warnFontArial);
    obj->WarnMissingResource(QL_WIDE("Arial Black"), warnFontArial);
    obj->WarnMissingResource(QL_WIDE("Arial Black"), warnImage);   // seen as a font: silent
    obj->WarnMissingResource(QL_WIDE("arial black"), warnFontArial);  // another name
    obj->WarnMissingResource(QL_WIDE("odd"), 9);                 // recorded, no box
    obj->WarnMissingResource(QL_WIDE("odd"), warnFontArial);
    obj->WarnMissingResource(QL_WIDE("neg"), -1);
    EXPECT_EQ(boxes.shown.size(), 2u);
    ASSERT_EQ(state().warningCount, 4);
    EXPECT_EQ(Text(state().warningNames[0]), QL_WIDE("Arial Black"));
    EXPECT_EQ(Text(state().warningNames[3]), QL_WIDE("neg"));
}

TEST_F(Warnings, SilentAndUnrecordedWithoutOwnerNameOrRecord) {
    obj->WarnMissingResource(QL_WIDE("early"), warnImage);  // before any BeginProgress
    EXPECT_EQ(state().warningCount, 0);
    EXPECT_EQ(state().warningNames, nullptr);
    obj->BeginProgress(kOwner, nullptr, 1);
    obj->EndProgress();
    obj->WarnMissingResource(nullptr, warnImage);
    obj->WarnMissingResource(QL_WIDE("early"), warnImage);  // now shown
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QL_WIDE("early"));

    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* s = impl->state();
    impl->setState(nullptr);
    obj->WarnMissingResource(QL_WIDE("none"), warnImage);
    impl->setState(s);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(Warnings, LongNamesNeverOverrunTheMessage) {
    obj->BeginProgress(kOwner, nullptr, 1);
    const Text longName(600, QLWChar('x'));
    obj->WarnMissingResource(longName.c_str(), warnFontSingleLine);
    obj->WarnMissingResource((longName + QL_WIDE("2")).c_str(), warnImage);
    const Text fits(470, QLWChar('y'));
    obj->WarnMissingResource(fits.c_str(), warnFontArial);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_EQ(boxes.shown[0].text, longName.substr(0, 511));  // cut at the buffer's end
    EXPECT_EQ(boxes.shown[1].text.size(), 601u);              // an image's message is the name itself
    EXPECT_EQ(boxes.shown[2].text, fits + QL_WIDE("\n\nReplacing with Arial"));
    EXPECT_EQ(Text(state().warningNames[0]), longName);       // the record keeps the whole name
}

}  // namespace
