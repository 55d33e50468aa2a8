// QLCommon: the one implementation of ICommon.
//
// Two data words: the interface table (supplied by the compiler) and the
// pointer to the state record.  Each operation lives in the source file of
// its subsystem (datafile/, shell/, measure/, taxcalc/); this header only
// declares them.
#ifndef QL_OBJECT_WIN32_QLCOMMON_IMPL_H
#define QL_OBJECT_WIN32_QLCOMMON_IMPL_H

#include <windows.h>

#include "object/win32/state.h"
#include "qlcommon.h"

namespace ql {

// The table's QLWindow and QLInstance are plain pointers (the public header
// needs no <windows.h>); here alone they become handles.
inline HWND hostWindow(QLWindow window) { return static_cast<HWND>(window); }
inline HINSTANCE hostInstance(QLInstance instance) { return static_cast<HINSTANCE>(instance); }

class QLCommon final : public ICommon {
public:
    explicit QLCommon(QLState* state) : state_(state) {}

    QLState* state() const { return state_; }
    void setState(QLState* state) { state_ = state; }

    // Calls another operation of this object through its interface table,
    // as a host would, so each call lands on the slot's current body.  The
    // table pointer is read through the public header's C view.
    //     call(&ICommonVtbl::SetProgressPos, pos)
    template <typename Slot, typename... Args>
    auto call(Slot ICommonVtbl::*slot, Args... args) {
        ICommon* self = this;
        const ICommonVtbl* table = *reinterpret_cast<const ICommonVtbl* const*>(self);
        return (table->*slot)(self, args...);
    }

    // The data file's progress reports (datafile/win32/stream_file.cpp).
    Progress fileProgress();

    uint32_t GetInterfaceVersion() override;
    int32_t BrowseOpenFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file, uint32_t capacity, QLBool allowMulti) override;
    int32_t BrowseSaveFile(QLWindow owner, const QLWChar* filters, const QLWChar* defaultExt, QLWChar* file, uint32_t capacity, const QLWChar* title, QLBool overwritePrompt) override;
    int32_t BrowseFolder(QLWindow owner, QLWChar* path, int32_t capacity) override;
    void SplitPathExt(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity, QLWChar* ext, int32_t extCapacity) override;
    void SplitPath(const QLWChar* path, QLWChar* folder, int32_t folderCapacity, QLWChar* name, int32_t nameCapacity) override;
    int32_t MulDivRound(double a, double b, double c) override;
    int32_t MulDivRound2(double a, double b, double c) override;
    double Hypotenuse(double a, double b) override;
    void FormatMeasure(int32_t thousandths, QLWChar* text, int32_t capacity, int32_t unit, int32_t decimals) override;
    int32_t ParseMeasure(const QLWChar* text, int32_t unit) override;
    QLBool OpenFile(const QLWChar* path, uint32_t mode, QLBool append) override;
    void WriteBytes(const void* data, uint32_t count) override;
    uint32_t ReadBytes(void* dest, uint32_t count) override;
    void CloseFile() override;
    uint32_t GetByteCount() override;
    int32_t ReadField(char* dest, int32_t capacity, uint8_t terminator) override;
    int32_t ReadWideField(QLWChar* dest, int32_t capacity, uint16_t terminator, QLBool stopAtLineFeed) override;
    void BeginElements(int32_t elementSize) override;
    void FreeElements() override;
    int32_t GetElementCount() override;
    void PushElement(const void* element) override;
    QLBool PopElement(void* element) override;
    void BeginProgress(QLWindow parent, QLInstance instance, int32_t range) override;
    void EndProgress() override;
    void SetProgressPos(int32_t pos) override;
    void StepProgress() override;
    void IdleProgress() override;
    void GetUserCompanyFolder(QLWChar* buffer, int32_t capacity) override;
    void GetUserProductFolder(QLWChar* buffer, int32_t capacity) override;
    void GetCommonCompanyFolder(QLWChar* buffer, int32_t capacity) override;
    void GetJobFilePath(QLWChar* buffer, int32_t capacity) override;
    void GetFontsFolder(QLWChar* buffer, int32_t capacity) override;
    void SetJobFilePath(const QLWChar* value) override;
    void GetInstallCompanyFolder(QLWChar* buffer, int32_t capacity) override;
    void GetCacheFolder(QLWChar* buffer, int32_t capacity) override;
    void GetInstallProductFolder(QLWChar* buffer, int32_t capacity) override;
    void GetControllersFolder(QLWChar* buffer, int32_t capacity) override;
    const QLWChar* GetSettingsFilePath() override;
    void GetCommonProductFolder(QLWChar* buffer, int32_t capacity) override;
    void GetDataFilePath(QLWChar* buffer, int32_t capacity) override;
    void GetDesktopFolder(QLWChar* buffer, int32_t capacity) override;
    void GetGraphixFilePath(QLWChar* buffer, int32_t capacity) override;
    void SetGraphixFilePath(const QLWChar* value) override;
    void GetJobsFolder(QLWChar* buffer, int32_t capacity) override;
    QLBool ParseFractionalMeasureW(const QLWChar* text, int32_t textUnit, float* out, int32_t targetUnit) override;
    QLBool ParseFractionalMeasureRounded(const QLWChar* text, int32_t textUnit, int32_t* out, int32_t targetUnit) override;
    void WriteValueLine(int32_t kind1, uint64_t value1, int32_t kind2, uint64_t value2, int32_t kind3, uint64_t value3) override;
    void FormatHex64(uint64_t value, char* buffer, int32_t capacity) override;
    void StraightenQuotes(QLWChar* text) override;
    QLBool CopyElement(int32_t index, void* element) override;
    QLBool GetElementPointer(int32_t index, void** address) override;
    int32_t FindField(const QLWChar* text) override;
    void GetLastErrorText(QLWChar* buffer, int32_t capacity) override;
    QLBool OpenFileHandle(const QLWChar* path, uint32_t mode, QLBool append) override;
    void WriteBytesHandle(const void* data, uint32_t count) override;
    uint32_t ReadBlock(void* dest, uint32_t count) override;
    uint32_t ReadLine(char* dest, uint32_t capacity) override;
    void CloseFileHandle() override;
    void FormatFloat(float value, QLWChar* text, int32_t capacity, int32_t decimals) override;
    void WarnMissingResource(const QLWChar* name, int32_t kind) override;
    QLBool SeekRead(int32_t offset) override;
    uint32_t GetBufferPos() override;
    QLBool InflateBlock(const void* input, int32_t inputLength, void* output, uint32_t room, uint32_t* produced, int32_t kind) override;
    QLBool InflateBegin(const void* input, uint32_t inputLength, int32_t kind) override;
    void InflateFinish(int32_t kind) override;
    uint32_t CopyLine(const void* source, int32_t sourceLength, void* dest, uint32_t capacity) override;
    QLBool ParseFractionalMeasureA(const char* text, int32_t textUnit, float* out, int32_t targetUnit) override;
    int32_t ShowTaxCalculator(QLWindow parent) override;
    void FormatHexDigits(int32_t value, QLWChar* text, int32_t capacity) override;

private:
    QLState* state_;
};

static_assert(sizeof(QLCommon) == 2 * sizeof(void*), "two data words");

}  // namespace ql

#endif
