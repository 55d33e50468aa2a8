// The folder tree and the settings file through the table, on the prefix's
// real folders: the path each operation gives, the levels it creates and
// those it must not, and the values the settings file holds.
#include <gtest/gtest.h>

#include "folders_files.h"
#include "hostkit/host.h"

namespace {

const qltest::HostTreeLock hostTreeLock;  // for the whole program
const std::wstring local = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\Tamarisk Works";
const std::wstring company = qltest::systemFolder(CSIDL_COMMON_APPDATA) + L"\\Tamarisk Works", common = company + L"\\Vellmar";
const std::wstring jobs = common + L"\\Jobs", programs = qltest::systemFolder(CSIDL_PROGRAM_FILES) + L"\\Tamarisk Works";

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// One getter through the table into a buffer that must stay untouched past the capacity.
std::wstring get(const hostkit::Object& obj, void (*op)(ICommon*, QLWChar*, int32_t), int32_t cap = 512) {
    std::wstring buffer(1024, L'#');
    op(obj.get(), &buffer[0], cap);
    EXPECT_EQ(buffer.find_first_not_of(L'#', static_cast<size_t>(cap)), std::wstring::npos) << "written past " << cap;
    return buffer.c_str();
}

TEST(ShellFolders, EachOperationCreatesItsLevelsAndNoMore) {
    hostkit::Object obj;
    const ICommonVtbl* t = obj.table();
    const int32_t jobsSize = static_cast<int32_t>(jobs.size() + 1);  // with its terminator
    const struct { void (*op)(ICommon*, QLWChar*, int32_t); std::wstring path, made, notMade; int32_t cap; } rows[] = {
        {t->GetUserCompanyFolder, local, local, local + L"\\Vellmar", 512}, {t->GetUserProductFolder, local + L"\\Vellmar", local + L"\\Vellmar", L"", 512},
        {t->GetCommonCompanyFolder, company, company, common, 512}, {t->GetCommonProductFolder, common, common, jobs, 512},
        {t->GetFontsFolder, common + L"\\Fonts", common + L"\\Fonts", L"", 512}, {t->GetJobsFolder, jobs, jobs, L"", 512},
        {t->GetJobsFolder, jobs, jobs, L"", jobsSize}, {t->GetJobsFolder, L"", common, jobs, jobsSize - 1},  // 1 unit short
        {t->GetDataFilePath, common + L"\\Vellmar.vdk", common, common + L"\\Vellmar.vdk", 512},
        {t->GetInstallCompanyFolder, programs, programs, L"", 512}, {t->GetCacheFolder, programs + L"\\Cache", programs, programs + L"\\Cache", 512},
        {t->GetInstallProductFolder, programs + L"\\Vellmar", programs, programs + L"\\Vellmar", 512},
        {t->GetControllersFolder, programs + L"\\Vellmar\\Controllers", programs, programs + L"\\Vellmar", 512},
        {t->GetDesktopFolder, qltest::systemFolder(CSIDL_DESKTOPDIRECTORY), L"", L"", 512},
    };
    for (const auto& r : rows) {
        qltest::removeHostTree();
        EXPECT_EQ(get(obj, r.op, r.cap), r.path) << "capacity " << r.cap;
        EXPECT_TRUE(r.made.empty() || exists(r.made)) << r.path;
        EXPECT_FALSE(exists(r.notMade)) << r.path;
    }
}

TEST(ShellFolders, SettingsAreWrittenToTheFileAndReadBack) {
    hostkit::Object obj, other;
    const ICommonVtbl* t = obj.table();
    const std::wstring ini = local + L"\\Vellmar\\Vellmar.ini", job = L"C:\\jobs\\run " + std::to_wstring(GetCurrentProcessId());
    get(obj, t->GetUserProductFolder), DeleteFileW(ini.c_str());  // its folders, gone with the test before's tree
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), ini);
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), other.table()->GetSettingsFilePath(other.get()));  // one for all
    using Seen = std::pair<std::wstring, bool>;  // braces: the read, then the look at the disk
    EXPECT_EQ((Seen{get(obj, t->GetJobFilePath), exists(ini)}), Seen(jobs, false));  // the default; no file made
    t->SetJobFilePath(obj.get(), job.c_str());
    t->SetGraphixFilePath(obj.get(), L"D:\\art");
    EXPECT_EQ(get(obj, t->GetJobFilePath), job);
    RemoveDirectoryW((common + L"\\Graphix").c_str());
    EXPECT_EQ((Seen{get(other, t->GetGraphixFilePath), exists(common + L"\\Graphix")}), Seen(L"D:\\art", true));
    std::string text(4096, '\0');
    if (FILE* f = _wfopen(ini.c_str(), L"rb")) text.resize(fread(&text[0], 1, text.size(), f)), fclose(f);
    EXPECT_NE(text.find("[Current Settings]\r\nJob File Path=" + std::string(job.begin(), job.end()) +
                        "\r\nGraphix File Path=D:\\art"), std::string::npos) << text;
    t->SetJobFilePath(obj.get(), nullptr);  // removes the key: the default is back
    EXPECT_EQ(get(obj, t->GetJobFilePath), jobs);
}

}  // namespace
