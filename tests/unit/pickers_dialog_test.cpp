// The pickers' dialog descriptions and the folder picker's COM calls,
// checked through a recording fake.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "object/qlcommon_impl.h"
#include "shell/picker_filter.h"
#include "shell/picker_platform.h"
#include "object/wide_text.h"
#include "platform_fakes.h"


namespace {

using ql::FileDialogDescription;
using ql::QLGuid;
using Text = std::basic_string<QLWChar>;

void* const kOwner = reinterpret_cast<void*>(0x10);
void* const kFolderItem = reinterpret_cast<void*>(0x100);
void* const kDialog = reinterpret_cast<void*>(0x200);
void* const kResultItem = reinterpret_cast<void*>(0x300);

bool same(const QLGuid& a, const QLGuid& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct FakePickers final : ql::PickerPlatform {
    int32_t dialogResult = 1;
    std::vector<FileDialogDescription> opened, saved;
    // The folder picker.
    std::vector<Text> parsed;          // paths given to SHCreateItemFromParsingName
    int32_t parseFailures = 0;         // the first n parses fail
    bool createFails = false;
    int32_t showResult = 0;
    QLWChar chosen[600] = {};          // the name GetDisplayName hands out ("" for none)
    std::vector<std::string> calls;
    std::map<void*, int> releases;
    void* freed = nullptr;

    int32_t GetOpenFileNameW(FileDialogDescription& d) override { opened.push_back(d); return dialogResult; }
    int32_t GetSaveFileNameW(FileDialogDescription& d) override { saved.push_back(d); return dialogResult; }
    int32_t SHCreateItemFromParsingName(const QLWChar* path, void* bind, const QLGuid& iid, void** item) override {
        EXPECT_EQ(bind, nullptr);
        EXPECT_TRUE(same(iid, ql::picker::kIShellItem));
        parsed.push_back(path);
        calls.push_back("SHCreateItemFromParsingName");
        *item = parseFailures-- > 0 ? nullptr : kFolderItem;
        return *item ? 0 : static_cast<int32_t>(0x80070002u);
    }
    int32_t CoCreateInstance(const QLGuid& clsid, void* outer, uint32_t ctx, const QLGuid& iid, void** out) override {
        EXPECT_TRUE(same(clsid, ql::picker::kFileOpenDialog));
        EXPECT_TRUE(same(iid, ql::picker::kIFileDialog));
        EXPECT_EQ(outer, nullptr);
        EXPECT_EQ(ctx, 1u);
        calls.push_back("CoCreateInstance");
        *out = createFails ? nullptr : kDialog;
        return createFails ? static_cast<int32_t>(0x80040154u) : 0;
    }
    int32_t SetOptions(void* d, uint32_t options) override {
        EXPECT_EQ(d, kDialog);
        calls.push_back("SetOptions " + std::to_string(options));
        return 0;
    }
    int32_t SetFolder(void* d, void* item) override {
        EXPECT_EQ(d, kDialog);
        EXPECT_EQ(item, kFolderItem);
        calls.push_back("SetFolder");
        return 0;
    }
    int32_t Show(void* d, void* owner) override {
        EXPECT_EQ(d, kDialog);
        EXPECT_EQ(owner, kOwner);
        calls.push_back("Show");
        return showResult;
    }
    int32_t GetResult(void* d, void** item) override {
        EXPECT_EQ(d, kDialog);
        calls.push_back("GetResult");
        *item = kResultItem;
        return 0;
    }
    int32_t GetDisplayName(void* item, uint32_t sigdn, QLWChar** name) override {
        EXPECT_EQ(item, kResultItem);
        EXPECT_EQ(sigdn, 0x80058000u);
        calls.push_back("GetDisplayName");
        *name = chosen[0] ? chosen : nullptr;
        return chosen[0] ? 0 : static_cast<int32_t>(0x80004005u);
    }
    void CoTaskMemFree(void* memory) override {
        calls.push_back("CoTaskMemFree");
        freed = memory;
    }
    uint32_t Release(void* unknown) override {
        calls.push_back(unknown == kDialog ? "Release dialog" : unknown == kResultItem ? "Release result" : "Release folder");
        return static_cast<uint32_t>(++releases[unknown]);
    }
};

class Pickers : public ::testing::Test {
protected:
    void TearDown() override { QLDestroy(obj); }
    FakePickers fake;
    qltest::ScopedPlatform<ql::PickerPlatform> installed{ql::setPickerPlatform, &fake};
    ICommon* obj = GetQLObject(nullptr);
    QLWChar file[260] = QL_WIDE("start.txt");
};

const QLWChar kFilters[] = QL_WIDE("ABC files\0*.abc\0PDF files\0*.pdf\0Pictures\0*.jpg;*.png\0");

TEST(PickerFilter, OpenScanComparesTheLastThreeCharactersIgnoringCase) {
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("PDF")), 2u);
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("abc")), 1u);
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("png")), 3u);  // the end of "*.jpg;*.png"
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("jpg")), 0u);
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("xyz")), 0u);
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("pd")), 0u);
    EXPECT_EQ(ql::openFilterIndex(kFilters, QL_WIDE("pdfx")), 0u);
    EXPECT_EQ(ql::openFilterIndex(kFilters, nullptr), 0u);
    EXPECT_EQ(ql::openFilterIndex(nullptr, QL_WIDE("pdf")), 0u);
    EXPECT_EQ(ql::openFilterIndex(QL_WIDE("Short\0*\0Odd\0\0"), QL_WIDE("pdf")), 0u);  // short pattern, missing pattern
}

TEST(PickerFilter, SaveIndexIsTwoOnlyForExactlyPdf) {
    EXPECT_EQ(ql::saveFilterIndex(QL_WIDE("pdf")), 2u);
    EXPECT_EQ(ql::saveFilterIndex(QL_WIDE("PDF")), 1u);
    EXPECT_EQ(ql::saveFilterIndex(QL_WIDE("pdfx")), 1u);
    EXPECT_EQ(ql::saveFilterIndex(QL_WIDE("pd")), 1u);
    EXPECT_EQ(ql::saveFilterIndex(nullptr), 1u);
}

// The fields every description made with kOwner, kFilters, "pdf" and the
// fixture's buffer shares.
void expectDescription(const FileDialogDescription& d, uint32_t maxFile, uint32_t flags) {
    EXPECT_EQ(d.hwndOwner, kOwner);
    EXPECT_EQ(d.lpstrFilter, kFilters);
    EXPECT_EQ(d.nFilterIndex, 2u);
    EXPECT_EQ(d.nMaxFile, maxFile);
    EXPECT_EQ(d.lpstrInitialDir, nullptr);
    EXPECT_EQ(d.Flags, flags);
}

TEST_F(Pickers, OpenDescriptionForEachSelectionByte) {
    const QLBool bytes[] = {0, 1, 2};
    const uint32_t flags[] = {0x81C04, 0x81E04, 0x81C04};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(obj->BrowseOpenFile(kOwner, kFilters, QL_WIDE("pdf"), file, 260, bytes[i]), 1);
    ASSERT_EQ(fake.opened.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        expectDescription(fake.opened[i], 260, flags[i]);
        EXPECT_EQ(fake.opened[i].lpstrFile, file);
        EXPECT_EQ(fake.opened[i].lpstrTitle, nullptr);
        EXPECT_EQ(Text(fake.opened[i].lpstrDefExt), QL_WIDE("pdf"));
    }
    fake.dialogResult = 0;
    EXPECT_EQ(obj->BrowseOpenFile(kOwner, nullptr, QL_WIDE("pdf"), file, 260, 0), 0);
    EXPECT_EQ(fake.opened.back().nFilterIndex, 0u);
    fake.dialogResult = 2;  // only exactly 1 counts as confirmed
    EXPECT_EQ(obj->BrowseOpenFile(kOwner, kFilters, QL_WIDE("pdf"), file, 260, 0), 0);
}

TEST_F(Pickers, SaveDescriptionForEachPromptByte) {
    const QLBool bytes[] = {0, 1, 2};
    const uint32_t flags[] = {0x2000C04, 0x2000C06, 0x2000C04};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(obj->BrowseSaveFile(kOwner, kFilters, QL_WIDE("pdf"), file, 100, QL_WIDE("Save the job"), bytes[i]), 1);
    EXPECT_EQ(obj->BrowseSaveFile(kOwner, kFilters, QL_WIDE("PDF"), file, 100, nullptr, 0), 1);
    ASSERT_EQ(fake.saved.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        expectDescription(fake.saved[i], 100, flags[i]);
        EXPECT_EQ(fake.saved[i].lpstrFile, file);
        EXPECT_EQ(Text(fake.saved[i].lpstrTitle), QL_WIDE("Save the job"));
    }
    EXPECT_EQ(fake.saved[3].nFilterIndex, 1u);
    EXPECT_EQ(fake.saved[3].lpstrTitle, nullptr);
}

TEST_F(Pickers, NoBufferNoDialogAndNoRecordNeeded) {
    EXPECT_EQ(obj->BrowseOpenFile(kOwner, kFilters, QL_WIDE("pdf"), nullptr, 260, 0), 0);
    EXPECT_EQ(obj->BrowseSaveFile(kOwner, kFilters, QL_WIDE("pdf"), file, 0, nullptr, 0), 0);
    EXPECT_TRUE(fake.opened.empty() && fake.saved.empty());
    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* s = impl->state();
    impl->setState(nullptr);
    EXPECT_EQ(obj->BrowseOpenFile(kOwner, kFilters, QL_WIDE("pdf"), file, 260, 0), 1);  // works without a record
    QLWChar path[512] = QL_WIDE("C:\\Jobs");
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 0);                           // needs one
    impl->setState(s);
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(Pickers, FolderChosenCallsInOrderAndReleasesEachOnce) {
    std::memcpy(fake.chosen, QL_WIDE("C:\\Jobs\\Spring"), sizeof(QL_WIDE("C:\\Jobs\\Spring")));
    QLWChar path[512] = QL_WIDE("C:\\Jobs");
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 1);
    EXPECT_EQ(Text(path), QL_WIDE("C:\\Jobs\\Spring"));
    EXPECT_EQ(fake.parsed, std::vector<Text>{QL_WIDE("C:\\Jobs")});
    const std::vector<std::string> expected = {
        "SHCreateItemFromParsingName", "CoCreateInstance", "SetOptions 32", "SetFolder", "Show", "GetResult",
        "GetDisplayName", "CoTaskMemFree", "Release dialog", "Release result", "Release folder"};
    EXPECT_EQ(fake.calls, expected);
    EXPECT_EQ(fake.freed, fake.chosen);
    for (const auto& r : fake.releases) EXPECT_EQ(r.second, 1);
}

TEST_F(Pickers, FolderCancelFailedCreationAndNoPath) {
    QLWChar path[512] = QL_WIDE("C:\\Jobs");
    fake.showResult = static_cast<int32_t>(0x800704C7u);  // cancelled
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 0);
    EXPECT_EQ(fake.calls.back(), "Release folder");
    EXPECT_EQ(fake.releases[kDialog], 1);
    EXPECT_EQ(fake.releases.count(kResultItem), 0u);

    fake.calls.clear();
    fake.createFails = true;
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 0);
    EXPECT_EQ(fake.calls, (std::vector<std::string>{"SHCreateItemFromParsingName", "CoCreateInstance", "Release folder"}));

    fake.calls.clear();
    fake.createFails = false;
    fake.showResult = 0;  // confirmed, but the item has no file-system path
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 0);
    EXPECT_EQ(fake.calls.back(), "Release folder");
    EXPECT_EQ(Text(path), QL_WIDE("C:\\Jobs"));
}

TEST_F(Pickers, FolderTooLongForTheBufferLeavesItUnchanged) {
    Text longName = QL_WIDE("C:\\") + Text(40, QLWChar('d'));
    std::memcpy(fake.chosen, longName.c_str(), (longName.size() + 1) * sizeof(QLWChar));
    QLWChar path[32] = QL_WIDE("C:\\Jobs");
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 32), 0);
    EXPECT_EQ(Text(path), QL_WIDE("C:\\Jobs"));
    EXPECT_EQ(fake.freed, fake.chosen);  // the name is given back all the same
}

TEST_F(Pickers, FolderFallsBackToTheJobsFolderOnce) {
    QLWChar path[512] = QL_WIDE("Q:\\missing");
    fake.parseFailures = 2;
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 0);
    ASSERT_EQ(fake.parsed.size(), 2u);
    const Text jobs = QL_WIDE("\\Jobs");
    ASSERT_GE(fake.parsed[1].size(), jobs.size());
    EXPECT_EQ(fake.parsed[1].substr(fake.parsed[1].size() - jobs.size()), jobs);
    EXPECT_EQ(Text(path), fake.parsed[1]);  // the buffer keeps the jobs folder path
    EXPECT_EQ(fake.calls.size(), 2u);       // no dialog, nothing to release

    fake.parsed.clear();
    fake.calls.clear();
    fake.parseFailures = 1;
    fake.showResult = 1;  // S_FALSE is not S_OK
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 512), 0);
    EXPECT_EQ(fake.parsed.size(), 2u);
    EXPECT_EQ(fake.calls[2], "CoCreateInstance");
}

TEST_F(Pickers, FolderUnterminatedBufferIsNotParsed) {
    QLWChar path[8];
    for (QLWChar& c : path) c = QLWChar('x');
    fake.parseFailures = 1;
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 8), 0);
    ASSERT_EQ(fake.parsed.size(), 1u);  // only the fallback was tried
    EXPECT_LE(fake.parsed[0].size(), 7u);
    EXPECT_EQ(obj->BrowseFolder(kOwner, nullptr, 512), 0);
    EXPECT_EQ(obj->BrowseFolder(kOwner, path, 0), 0);
}

}  // namespace
