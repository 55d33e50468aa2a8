// The folder tree through the table, on the prefix's real folders: the
// paths below the system folders as SHGetFolderPathW reports them, the
// levels that exist afterwards and those that must not.
#include <gtest/gtest.h>

#include <vector>

#include "folders_files.h"
#include "hostkit/host.h"

namespace {

// Held for the whole program: see folders_files.h.
const qltest::HostTreeLock hostTreeLock;

using Getter = void (*)(ICommon*, QLWChar*, int32_t);

class FolderTree : public ::testing::Test {
protected:
    void SetUp() override {
        qltest::removeHostTree();
        local = qltest::systemFolder(CSIDL_LOCAL_APPDATA);
        common = qltest::systemFolder(CSIDL_COMMON_APPDATA);
        programs = qltest::systemFolder(CSIDL_PROGRAM_FILES);
        ASSERT_FALSE(local.empty() || common.empty() || programs.empty());
    }
    // One operation through the table, in a 1024-unit buffer with guards
    // after the capacity.
    std::wstring call(Getter op, int32_t cap = 512) {
        std::vector<wchar_t> buf(1024, L'#');
        op(obj.get(), buf.data(), cap);
        for (size_t i = static_cast<size_t>(cap); i < buf.size(); ++i)
            if (buf[i] != L'#') {
                ADD_FAILURE() << "written past the capacity at " << i;
                break;
            }
        return buf.data();
    }
    const ICommonVtbl* t() { return obj.table(); }

    hostkit::Object obj;
    std::wstring local, common, programs;
};

TEST_F(FolderTree, CommonTreeIsCreatedLevelByLevel) {
    const std::wstring product = common + L"\\Tamarisk Works\\Vellmar";
    EXPECT_EQ(call(t()->GetJobsFolder), product + L"\\Jobs");
    EXPECT_TRUE(qltest::isFolder(product + L"\\Jobs"));
    EXPECT_EQ(call(t()->GetFontsFolder), product + L"\\Fonts");
    EXPECT_TRUE(qltest::isFolder(product + L"\\Fonts"));
    EXPECT_EQ(call(t()->GetCommonCompanyFolder), common + L"\\Tamarisk Works");
    EXPECT_EQ(call(t()->GetCommonProductFolder), product);

    // The data file's path: its folders exist, the file is never made.
    qltest::removeHostTree();
    EXPECT_EQ(call(t()->GetDataFilePath), product + L"\\Vellmar.vdk");
    EXPECT_TRUE(qltest::isFolder(product));
    EXPECT_FALSE(qltest::isFile(product + L"\\Vellmar.vdk"));
    EXPECT_FALSE(qltest::isFolder(product + L"\\Jobs"));

    // A folder the user deleted comes back on the next call.
    RemoveDirectoryW((product + L"\\Fonts").c_str());
    call(t()->GetFontsFolder);
    EXPECT_TRUE(qltest::isFolder(product + L"\\Fonts"));
}

TEST_F(FolderTree, InstallTreeCreatesOnlyTheCompanyLevel) {
    const std::wstring company = programs + L"\\Tamarisk Works";
    EXPECT_EQ(call(t()->GetCacheFolder, 1024), company + L"\\Cache");
    EXPECT_EQ(call(t()->GetControllersFolder), company + L"\\Vellmar\\Controllers");
    EXPECT_EQ(call(t()->GetInstallProductFolder), company + L"\\Vellmar");
    EXPECT_EQ(call(t()->GetInstallCompanyFolder), company);
    EXPECT_TRUE(qltest::isFolder(company));
    EXPECT_FALSE(qltest::isFolder(company + L"\\Cache"));
    EXPECT_FALSE(qltest::isFolder(company + L"\\Vellmar"));
}

TEST_F(FolderTree, UserTreeAndDesktop) {
    EXPECT_EQ(call(t()->GetUserProductFolder), local + L"\\Tamarisk Works\\Vellmar");
    EXPECT_TRUE(qltest::isFolder(local + L"\\Tamarisk Works\\Vellmar"));
    EXPECT_EQ(call(t()->GetUserCompanyFolder), local + L"\\Tamarisk Works");

    wchar_t* desktop = nullptr;
    ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop), S_OK);
    EXPECT_EQ(call(t()->GetDesktopFolder), desktop);
    CoTaskMemFree(desktop);
}

TEST_F(FolderTree, PathThatDoesNotFitCreatesNoMore) {
    const std::wstring jobs = common + L"\\Tamarisk Works\\Vellmar\\Jobs";
    const int32_t fits = static_cast<int32_t>(jobs.size() + 1);
    EXPECT_EQ(call(t()->GetJobsFolder, fits - 1), L"");
    EXPECT_FALSE(qltest::isFolder(jobs));
    EXPECT_TRUE(qltest::isFolder(common + L"\\Tamarisk Works\\Vellmar"));
    EXPECT_EQ(call(t()->GetJobsFolder, fits), jobs);
}

TEST_F(FolderTree, SettingsPathIsOneTextForTheProcess) {
    hostkit::Object other;
    const QLWChar* a = t()->GetSettingsFilePath(obj.get());  // the first fill in this program
    const QLWChar* b = other.table()->GetSettingsFilePath(other.get());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::wstring(a), local + L"\\Tamarisk Works\\Vellmar\\Vellmar.ini");
    EXPECT_TRUE(qltest::isFolder(local + L"\\Tamarisk Works\\Vellmar"));
    EXPECT_FALSE(qltest::isFile(a));  // composing the path makes no file
    // Later calls touch nothing: removed folders stay removed.
    qltest::removeHostTree();
    EXPECT_EQ(t()->GetSettingsFilePath(obj.get()), a);
    EXPECT_FALSE(qltest::isFolder(local + L"\\Tamarisk Works"));
}

}  // namespace
