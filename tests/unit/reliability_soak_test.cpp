// The soak: thousands of service objects made and destroyed through the
// exports, each holding every resource an object can hold at the moment it
// is destroyed.  The destroyer has to give every one of them back.
//
// Each object has a data file open for writing with bytes waiting in the
// buffer (the stream and the handle back end in turn), the element array
// with elements pushed, names recorded by the once-per-name warnings, and
// the zlib library loaded with its stream record allocated (every block is
// ended with InflateFinish: zlib's own state is freed only there, by design).
//
// Under the sanitizer build LeakSanitizer checks the process after the loop.
// In every build the count of live objects must come back, and the zlib
// library must be unloaded; natively the count of open descriptors is
// compared too, since leaked descriptors are not memory.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "datafile_test_util.h"
#include "object/qlcommon_impl.h"
#include "reliability_zlib.h"
#include "shell/progress_platform.h"
#include "shell/warning_platform.h"

#if defined(__SANITIZE_ADDRESS__)
#define QL_HAVE_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QL_HAVE_LSAN 1
#endif
#endif
#ifdef QL_HAVE_LSAN
#include <sanitizer/lsan_interface.h>
#endif

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <dlfcn.h>
#endif

namespace {

using dftest::QLString;

#ifdef _WIN32
// Opening and closing files under Wine costs several times what it costs
// natively; the native run carries the full count.
constexpr int kObjects = 2000;
#else
constexpr int kObjects = 10000;
#endif
constexpr int kElementsPerObject = 40;  // past the first growth of the store
constexpr uint32_t kWaitingBytes = 1000;

#ifdef _WIN32
// Under Wine the warning boxes and the progress window would be real
// windows; these stand-ins keep the objects' bookkeeping and show nothing.
struct SilentWarnings final : ql::WarningPlatform {
    int32_t MessageBoxW(void*, const QLWChar*, const QLWChar*, uint32_t) override { return 0; }
};
struct NoProgressWindow final : ql::ProgressPlatform {
    int32_t clock() override { return 0; }
    bool InitCommonControlsEx(uint32_t) override { return false; }
    bool GetClientRect(void*, ql::QLRect*) override { return false; }
    void* CreateWindowExW(uint32_t, const QLWChar*, const QLWChar*, uint32_t, int32_t, int32_t, int32_t, int32_t,
                          void*, void*, void*, void*) override {
        return nullptr;
    }
    intptr_t SendMessageW(void*, uint32_t, uintptr_t, intptr_t) override { return 0; }
    bool ShowWindow(void*, int32_t) override { return false; }
    bool InvalidateRect(void*, const ql::QLRect*, bool) override { return false; }
    bool WaitMessage() override { return false; }
    bool DestroyWindow(void*) override { return false; }
};
#endif

// Opens every resource of one object.
void fillObject(ICommon* obj, int i, const QLString& path, const std::vector<uint8_t>& zlibStream, bool withZlib) {
    static const std::vector<uint8_t> bytes = dftest::pattern(kWaitingBytes);
    const QLBool opened = (i % 2 == 0) ? obj->OpenFile(path.c_str(), qlModeWrite, 0)
                                       : obj->OpenFileHandle(path.c_str(), qlModeWrite, 0);
    ASSERT_EQ(opened, 1) << "object " << i;
    obj->WriteBytes(bytes.data(), kWaitingBytes);  // waits in the buffer: below 65536

    obj->BeginElements(24);
    uint8_t element[24] = {};
    for (int e = 0; e < kElementsPerObject; ++e) {
        element[0] = static_cast<uint8_t>(e);
        obj->PushElement(element);
    }

    // A parent names the owner of the warnings; no window is made for it.
    obj->BeginProgress(reinterpret_cast<QLWindow>(uintptr_t{0x1000}), nullptr, 100);
    const QLString image = dftest::qlPath("missing image.bmp");
    const QLString font = dftest::qlPath("Missing Font");
    obj->WarnMissingResource(image.c_str(), warnImage);
    obj->WarnMissingResource(font.c_str(), warnFontArial);

    if (withZlib) {
        ASSERT_EQ(obj->InflateBegin(zlibStream.data(), static_cast<uint32_t>(zlibStream.size()), codecZlib), 1);
        char out[64];
        uint32_t produced = 0;
        // Half the room: the block is left in the middle, zlib's window in use.
        EXPECT_EQ(obj->InflateBlock(zlibStream.data(), static_cast<int32_t>(zlibStream.size()), out, 20, &produced,
                                    codecZlib),
                  0);
        EXPECT_EQ(produced, 20u);
        obj->InflateFinish(codecZlib);
    }
}

// Whether the process has the library file loaded.  Natively the placed
// file is a link to the system's libz.so.1; the loader knows it by the file
// it names, so the question covers that file under any name.
bool loaded(const dftest::fs::path& file) {
#ifdef _WIN32
    return GetModuleHandleW(file.wstring().c_str()) != nullptr;
#else
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module) dlclose(module);
    return module != nullptr;
#endif
}

#ifndef _WIN32
int openDescriptors() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d)) ++n;
        closedir(d);
    }
    return n;
}
#endif

TEST(ReliabilitySoak, ThousandsOfFullObjectsLeaveNothingBehind) {
#ifdef _WIN32
    SilentWarnings warnings;
    NoProgressWindow progress;
    ql::WarningPlatform* oldWarnings = ql::setWarningPlatform(&warnings);
    ql::ProgressPlatform* oldProgress = ql::setProgressPlatform(&progress);
#endif
    dftest::ScratchDir dir("soak");
    const QLString path = dftest::qlPath(dir.file("soak.dat"));
    reltest::ScratchZlib zlib("soak-zlib");
    if (!zlib.available()) std::printf("no zlib library found: the soak runs without zlib\n");
    const std::vector<uint8_t> stream = reltest::storedZlibStream(std::string(40, 'z') + " the soak's block of text");

    // When something else in the process holds the library, its unloading
    // cannot be seen.
    const bool unloadVisible = zlib.available() && !loaded(zlib.placed());
    const int32_t aliveBefore = QLRelease();
    // One object keeps the library loaded through the loop, so that each
    // object's load and unload only count references instead of mapping
    // the file anew (most of the run time otherwise).  A reference an
    // object failed to give back still shows: the library stays loaded
    // after this holder is destroyed too.
    ICommon* holder = GetQLObject(nullptr);
    if (zlib.available()) {
        EXPECT_EQ(holder->InflateBegin(stream.data(), static_cast<uint32_t>(stream.size()), codecZlib), 1);
        holder->InflateFinish(codecZlib);
    }
#ifndef _WIN32
    const int descriptorsBefore = openDescriptors();
#endif
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kObjects && !HasFatalFailure(); ++i) {
        ICommon* obj = GetQLObject(nullptr);
        ASSERT_NE(obj, nullptr);
        fillObject(obj, i, path, stream, zlib.available());
        // Everything is held at the moment of destruction.
        const ql::QLState& s = *static_cast<ql::QLCommon*>(obj)->state();
        EXPECT_TRUE(s.ioBuffer && (s.stream || s.fileHandle) && s.bufferPos == kWaitingBytes);
        EXPECT_TRUE(s.elements.store && s.elements.count == kElementsPerObject);
        EXPECT_TRUE(s.warningNames && s.warningCount == 2);
        if (zlib.available()) {
            EXPECT_TRUE(s.zlibModule && s.zStream);
        }
        QLDestroy(obj);
        zlib.forgetCalls();
        if (HasFailure()) break;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d objects made and destroyed in %.2f s\n", kObjects, seconds);

    QLDestroy(holder);
    EXPECT_EQ(QLRelease(), aliveBefore);
    if (unloadVisible) {
        EXPECT_FALSE(loaded(zlib.placed())) << "the zlib library stayed loaded";
    }
#ifndef _WIN32
    EXPECT_EQ(openDescriptors(), descriptorsBefore);
#endif
#ifdef QL_HAVE_LSAN
    // Non-zero when LeakSanitizer finds unreachable blocks; it prints them.
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
#ifdef _WIN32
    ql::setWarningPlatform(oldWarnings);
    ql::setProgressPlatform(oldProgress);
#endif
}

}  // namespace
