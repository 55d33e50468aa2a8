// The folder tree and the settings file through the table, on the prefix's real folders.  QL_TEST_CHANGES_HOST_TREE
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "folders_files.h"

namespace {

const std::wstring local = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\Tamarisk Works";
const std::wstring company = qltest::systemFolder(CSIDL_COMMON_APPDATA) + L"\\Tamarisk Works";
const std::wstring common = company + L"\\Vellmar", jobs = common + L"\\Jobs";
const std::wstring programs = qltest::systemFolder(CSIDL_PROGRAM_FILES) + L"\\Tamarisk Works";
using Getter = void (*)(ICommon*, QLWChar*, int32_t);

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring get(const hostkit::Object& obj, Getter op) {
    wchar_t buffer[512] = L"";
    op(obj.get(), buffer, 512);
    return buffer;
}

// Each operation on an empty tree: the path, the deepest level there after, a level it must not create.
TEST(ShellFolders, EachOperationCreatesItsLevelsAndNoMore) {
    hostkit::Object obj;
    const ICommonVtbl* t = obj.table();
    const std::wstring desktop = qltest::systemFolder(CSIDL_DESKTOPDIRECTORY);
    const struct { Getter op; std::wstring path, made, notMade; } rows[] = {
        {t->GetUserCompanyFolder, local, local, local + L"\\Vellmar"},
        {t->GetUserProductFolder, local + L"\\Vellmar", local + L"\\Vellmar", L""},
        {t->GetCommonCompanyFolder, company, company, common},
        {t->GetCommonProductFolder, common, common, jobs},
        {t->GetFontsFolder, common + L"\\Fonts", common + L"\\Fonts", L""},
        {t->GetJobsFolder, jobs, jobs, L""},
        {t->GetDataFilePath, common + L"\\Vellmar.vdk", common, common + L"\\Vellmar.vdk"},
        {t->GetInstallCompanyFolder, programs, programs, L""},
        {t->GetCacheFolder, programs + L"\\Cache", programs, programs + L"\\Cache"},
        {t->GetInstallProductFolder, programs + L"\\Vellmar", programs, programs + L"\\Vellmar"},
        {t->GetControllersFolder, programs + L"\\Vellmar\\Controllers", programs, programs + L"\\Vellmar"},
        {t->GetDesktopFolder, desktop, desktop, L""},
    };
    for (const auto& r : rows) {
        qltest::removeHostTree();
        EXPECT_EQ(get(obj, r.op), r.path);
        EXPECT_TRUE(exists(r.made)) << r.path;
        EXPECT_FALSE(exists(r.notMade)) << r.path;
    }
}

TEST(ShellFolders, SettingsAreWrittenToTheFileAndReadBack) {
    hostkit::Object obj, other;
    const ICommonVtbl* t = obj.table();
    const std::wstring ini = local + L"\\Vellmar\\Vellmar.ini", job = L"C:\\jobs\\" + std::to_wstring(GetTickCount());
    qltest::removeHostTree();
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), ini);
    get(obj, t->GetUserProductFolder);  // the path was kept from before the tree went
    EXPECT_EQ(get(obj, t->GetJobFilePath), jobs) << "the default";
    EXPECT_FALSE(exists(ini)) << "a read makes no file";
    t->SetJobFilePath(obj.get(), job.c_str());
    t->SetGraphixFilePath(obj.get(), L"D:\\art");
    EXPECT_EQ(get(obj, t->GetJobFilePath), job);
    EXPECT_EQ(get(other, t->GetGraphixFilePath), L"D:\\art");
    EXPECT_TRUE(exists(common + L"\\Graphix")) << "made by every read";
    std::ifstream file(ini.c_str(), std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    const std::string lines = "[Current Settings]\r\nJob File Path=" + std::string(job.begin(), job.end()) +
                              "\r\nGraphix File Path=D:\\art";
    EXPECT_NE(text.find(lines), std::string::npos) << text;
    t->SetJobFilePath(obj.get(), nullptr);  // removes the key: the default is back
    EXPECT_EQ(get(obj, t->GetJobFilePath), jobs);
}

}  // namespace
