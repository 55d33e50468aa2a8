// The data file moves the progress bar: a 150000-byte write through a
// system handle reports each full buffer and the close reports the rest,
// through slot 25 of the table, on a real progress window.
// QL_TEST_NEEDS_DISPLAY
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "hostkit/dialogs.h"
#include "hostkit/host.h"
#include "progress_messages.h"

#include <commctrl.h>

namespace {

using qltest::MessageSource;
using qltest::progressWindowOf;

// Copies the object's interface table with slot 25 replaced by a recorder
// that passes each position on to the library's own SetProgressPos.  The
// two words before the slots come along, so the copy is a whole table.
class PositionRecorder {
public:
    explicit PositionRecorder(ICommon* object)
        : object_(object), original_(*reinterpret_cast<void***>(object)) {
        std::copy(original_ - kHeader, original_ + kSlots, table_);
        setPos_ = reinterpret_cast<const ICommonVtbl*>(original_)->SetProgressPos;
        auto* copy = reinterpret_cast<ICommonVtbl*>(table_ + kHeader);
        copy->SetProgressPos = &record;
        *reinterpret_cast<void***>(object_) = table_ + kHeader;
        current() = this;
    }
    ~PositionRecorder() {
        *reinterpret_cast<void***>(object_) = original_;
        current() = nullptr;
    }
    PositionRecorder(const PositionRecorder&) = delete;
    PositionRecorder& operator=(const PositionRecorder&) = delete;

    std::vector<int32_t> positions;

private:
    static constexpr int kHeader = 2;
    static constexpr int kSlots = 70;
    static PositionRecorder*& current() {
        static PositionRecorder* recorder = nullptr;
        return recorder;
    }
    static void record(ICommon* self, int32_t pos) {
        current()->positions.push_back(pos);
        current()->setPos_(self, pos);
    }
    ICommon* object_;
    void** original_;
    void (*setPos_)(ICommon*, int32_t) = nullptr;
    void* table_[kHeader + kSlots];
};

TEST(ProgressFromDataFile, HandleWriteMovesTheBarPerBufferAndAtTheClose) {
    const hostkit::HostWindow hostWindow(L"Host", 60, 60, 500, 300);
    HWND host = hostWindow.get();
    ASSERT_NE(host, nullptr);
    MessageSource messages;
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"ql progress write.bin";
    std::vector<unsigned char> data(150000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 7 + (i >> 9));
    {
        hostkit::Object obj;
        obj->BeginProgress(host, GetModuleHandleW(nullptr), 150000);
        HWND bar = progressWindowOf(host);
        ASSERT_NE(bar, nullptr);
        {
            PositionRecorder recorder(obj.get());
            ASSERT_TRUE(obj->OpenFileHandle(path.c_str(), qlModeWrite, 0));
            obj->WriteBytesHandle(data.data(), static_cast<uint32_t>(data.size()));
            EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 131072);
            obj->CloseFileHandle();
            EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 150000);

            // Each full buffer, then the rest at the close; never backwards.
            const std::vector<int32_t>& got = recorder.positions;
            ASSERT_GE(got.size(), 3u);
            EXPECT_EQ(std::vector<int32_t>(got.end() - 3, got.end()), (std::vector<int32_t>{65536, 131072, 150000}));
            EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
        }
        obj->EndProgress();
    }
    std::vector<unsigned char> back(data.size() + 1);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD got = 0;
    ReadFile(file, back.data(), static_cast<DWORD>(back.size()), &got, nullptr);
    CloseHandle(file);
    back.resize(got);
    EXPECT_TRUE(back == data);
    DeleteFileW(path.c_str());
}

}  // namespace
