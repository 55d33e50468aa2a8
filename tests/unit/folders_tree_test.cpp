// The folder tree through a recording fake of the platform: which bases are
// asked for, which levels are created and in which order, the bounds of the
// steps, and the process-wide settings path.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "folders_fake.h"
#include "platform_fakes.h"
#include "object/qlcommon_impl.h"

namespace {

using ::testing::ElementsAre;
using ql::toUtf8;

constexpr const char* kLocal = "SHGetFolderPathW 28 flags 1";
constexpr const char* kCommon = "SHGetFolderPathW 35 flags 1";
constexpr const char* kPrograms = "SHGetFolderPathW 38 flags 1";

class Folders : public ::testing::Test {
protected:
    void SetUp() override { obj = GetQLObject(nullptr); }
    void TearDown() override { QLDestroy(obj); }

    using Getter = void (ICommon::*)(QLWChar*, int32_t);
    // Runs one operation in a buffer of 1024 units (guards after `cap`)
    // and returns the text.
    std::string get(Getter op, int32_t cap = 512) {
        buffer.assign(1024, QLWChar{'#'});
        (obj->*op)(buffer.data(), cap);
        for (size_t i = static_cast<size_t>(cap); i < buffer.size(); ++i)
            if (buffer[i] != QLWChar{'#'}) ADD_FAILURE() << "written past the capacity at " << i;
        return toUtf8(buffer.data());
    }
    std::vector<std::string>& calls() { return folders.fake.calls; }

    qltest::ScopedFakeFolders folders;
    ICommon* obj = nullptr;
    std::vector<QLWChar> buffer;
};

TEST_F(Folders, UserAndCommonTree) {
    EXPECT_EQ(get(&ICommon::GetUserProductFolder), "L:\\Local\\Tamarisk Works\\Vellmar");
    EXPECT_THAT(calls(), ElementsAre(kLocal, "CreateDirectoryW L:\\Local\\Tamarisk Works",
                                     "CreateDirectoryW L:\\Local\\Tamarisk Works\\Vellmar"));
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetJobsFolder), "C:\\Common\\Tamarisk Works\\Vellmar\\Jobs");
    EXPECT_THAT(calls(), ElementsAre(kCommon, "CreateDirectoryW C:\\Common\\Tamarisk Works",
                                     "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar",
                                     "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar\\Jobs"));
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetFontsFolder), "C:\\Common\\Tamarisk Works\\Vellmar\\Fonts");
    EXPECT_EQ(calls().back(), "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar\\Fonts");
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetCommonCompanyFolder), "C:\\Common\\Tamarisk Works");
    EXPECT_THAT(calls(), ElementsAre(kCommon, "CreateDirectoryW C:\\Common\\Tamarisk Works"));
    calls().clear();
    // The data file's folders are created, the file is not touched.
    EXPECT_EQ(get(&ICommon::GetDataFilePath), "C:\\Common\\Tamarisk Works\\Vellmar\\Vellmar.vdk");
    EXPECT_THAT(calls(), ElementsAre(kCommon, "CreateDirectoryW C:\\Common\\Tamarisk Works",
                                     "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar"));
}

TEST_F(Folders, InstallTreeCreatesOnlyTheCompanyLevel) {
    EXPECT_EQ(get(&ICommon::GetCacheFolder, 1024), "P:\\Programs\\Tamarisk Works\\Cache");
    EXPECT_THAT(calls(), ElementsAre(kPrograms, "CreateDirectoryW P:\\Programs\\Tamarisk Works"));
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetControllersFolder), "P:\\Programs\\Tamarisk Works\\Vellmar\\Controllers");
    EXPECT_THAT(calls(), ElementsAre(kPrograms, "CreateDirectoryW P:\\Programs\\Tamarisk Works"));
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetInstallProductFolder), "P:\\Programs\\Tamarisk Works\\Vellmar");
    EXPECT_THAT(calls(), ElementsAre(kPrograms, "CreateDirectoryW P:\\Programs\\Tamarisk Works"));
}

TEST_F(Folders, Desktop) {
    EXPECT_EQ(get(&ICommon::GetDesktopFolder), "D:\\Desk");
    EXPECT_THAT(calls(), ElementsAre("SHGetKnownFolderPath desktop flags 0", "CoTaskMemFree"));
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetDesktopFolder, 7), "");  // 7 units do not hold "D:\Desk" and its terminator
    EXPECT_EQ(calls().back(), "CoTaskMemFree");
    folders.fake.desktop = "";  // the platform fails: empty, string still released
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetDesktopFolder), "");
    EXPECT_EQ(calls().back(), "CoTaskMemFree");
}

TEST_F(Folders, PathsThatDoNotFitAreEmptyAndStopTheSteps) {
    const std::string exact = "C:\\Common\\Tamarisk Works\\Vellmar\\Jobs";  // 37 units
    EXPECT_EQ(get(&ICommon::GetJobsFolder, 38), exact);
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetJobsFolder, 37), "");  // one short: empty, jobs level not created
    EXPECT_THAT(calls(), ElementsAre(kCommon, "CreateDirectoryW C:\\Common\\Tamarisk Works",
                                     "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar"));
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetJobsFolder, 20), "");  // the company level does not fit: nothing created
    EXPECT_THAT(calls(), ElementsAre(kCommon));

    // A base of 259 units, the most the platform gives.
    folders.fake.bases[ql::kCsidlProgramFiles] = "P:\\" + std::string(256, 'p');
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetControllersFolder, 260), "");
    EXPECT_THAT(calls(), ElementsAre(kPrograms));
    const std::string full = "P:\\" + std::string(256, 'p') + "\\Tamarisk Works\\Vellmar\\Controllers";
    EXPECT_EQ(get(&ICommon::GetControllersFolder, 1024), full);  // fits the 512 bound

    // A platform without the base folder: empty, nothing created.
    folders.fake.bases.erase(ql::kCsidlLocalAppData);
    calls().clear();
    EXPECT_EQ(get(&ICommon::GetUserProductFolder), "");
    EXPECT_THAT(calls(), ElementsAre(kLocal));
}

TEST_F(Folders, BufferAndRecordChecks) {
    obj->GetJobsFolder(nullptr, 512);
    buffer.assign(4, QLWChar{'#'});
    obj->GetJobsFolder(buffer.data(), 0);
    EXPECT_EQ(buffer[0], QLWChar{'#'});
    auto* impl = static_cast<ql::QLCommon*>(obj);
    ql::QLState* s = impl->state();
    impl->setState(nullptr);
    obj->GetFontsFolder(buffer.data(), 4);
    EXPECT_EQ(impl->GetSettingsFilePath(), nullptr);
    impl->setState(s);
    EXPECT_EQ(buffer[0], QLWChar{'#'});
    EXPECT_TRUE(calls().empty());
}

TEST_F(Folders, SettingsPathIsComposedOncePerProcess) {
    ICommon* other = GetQLObject(nullptr);
    const QLWChar* first = obj->GetSettingsFilePath();
    EXPECT_EQ(toUtf8(first), "L:\\Local\\Tamarisk Works\\Vellmar\\Vellmar.ini");
    EXPECT_THAT(calls(), ElementsAre(kLocal, "CreateDirectoryW L:\\Local\\Tamarisk Works",
                                     "CreateDirectoryW L:\\Local\\Tamarisk Works\\Vellmar"));
    calls().clear();
    EXPECT_EQ(other->GetSettingsFilePath(), first);  // the same pointer, no platform call
    QLDestroy(other);
    EXPECT_EQ(obj->GetSettingsFilePath(), first);
    EXPECT_TRUE(calls().empty());
}

TEST_F(Folders, SettingsPathFailureIsRetried) {
    folders.fake.bases.erase(ql::kCsidlLocalAppData);
    EXPECT_EQ(toUtf8(obj->GetSettingsFilePath()), "");
    folders.fake.bases[ql::kCsidlLocalAppData] = "L:\\Later";
    EXPECT_EQ(toUtf8(obj->GetSettingsFilePath()), "L:\\Later\\Tamarisk Works\\Vellmar\\Vellmar.ini");
}

// Threads racing for the first fill all see the same complete text.  The
// fake is read-only for the bases here; its call log is not shared.
struct QuietFake : qltest::FakeFolderPlatform {
    int32_t CreateDirectoryW(const QLWChar*, void*) override { return 1; }
    int32_t SHGetFolderPathW(void*, int32_t, void*, uint32_t, QLWChar* path) override {
        put("L:\\Race", path, ql::kMaxPath);
        return 0;
    }
};

TEST(FoldersRace, FirstFillFromSeveralThreads) {
    QuietFake fake;
    const qltest::ScopedPlatform<ql::FolderPlatform> installed(ql::setFolderPlatform, &fake);
    for (int round = 0; round < 20; ++round) {
        ql::clearSettingsPathCacheForTests();
        std::vector<std::thread> threads;
        std::vector<std::string> seen(4);
        std::vector<const QLWChar*> pointers(4);
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&, t] {
                ICommon* o = GetQLObject(nullptr);
                pointers[t] = o->GetSettingsFilePath();
                seen[t] = toUtf8(pointers[t]);
                QLDestroy(o);
            });
        for (auto& th : threads) th.join();
        for (int t = 0; t < 4; ++t) {
            EXPECT_EQ(seen[t], "L:\\Race\\Tamarisk Works\\Vellmar\\Vellmar.ini");
            EXPECT_EQ(pointers[t], pointers[0]);
        }
    }
    ql::clearSettingsPathCacheForTests();
}

}  // namespace
