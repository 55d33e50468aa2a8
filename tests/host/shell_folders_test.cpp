// The folder tree and the settings file through the table, on the prefix's
// real folders: the path each operation gives, the levels it creates and
// those it must not, and the values the settings file holds.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "folders_files.h"
#include "hostkit/host.h"

namespace {

const qltest::HostTreeLock hostTreeLock;  // for the whole program

using Getter = void (*)(ICommon*, QLWChar*, int32_t);

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ShellFolders : public ::testing::Test {
protected:
    std::wstring get(Getter op, int32_t cap = 512) {
        std::wstring buffer(1024, L'#');
        op(obj.get(), &buffer[0], cap);
        EXPECT_EQ(buffer.find_first_not_of(L'#', static_cast<size_t>(cap)), std::wstring::npos) << "written past " << cap;
        return buffer.c_str();
    }
    hostkit::Object obj;
    const ICommonVtbl* t = obj.table();
    const std::wstring local = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\Tamarisk Works";
    const std::wstring common = qltest::systemFolder(CSIDL_COMMON_APPDATA) + L"\\Tamarisk Works";
    const std::wstring programs = qltest::systemFolder(CSIDL_PROGRAM_FILES) + L"\\Tamarisk Works";
};

TEST_F(ShellFolders, EachOperationCreatesItsLevelsAndNoMore) {
    const struct {
        Getter op;
        std::wstring path, made, notMade;
    } rows[] = {
        {t->GetUserCompanyFolder, local, local, local + L"\\Vellmar"},
        {t->GetUserProductFolder, local + L"\\Vellmar", local + L"\\Vellmar", L""},
        {t->GetCommonCompanyFolder, common, common, common + L"\\Vellmar"},
        {t->GetCommonProductFolder, common + L"\\Vellmar", common + L"\\Vellmar", common + L"\\Vellmar\\Jobs"},
        {t->GetFontsFolder, common + L"\\Vellmar\\Fonts", common + L"\\Vellmar\\Fonts", L""},
        {t->GetJobsFolder, common + L"\\Vellmar\\Jobs", common + L"\\Vellmar\\Jobs", L""},
        {t->GetDataFilePath, common + L"\\Vellmar\\Vellmar.vdk", common + L"\\Vellmar", common + L"\\Vellmar\\Vellmar.vdk"},
        {t->GetInstallCompanyFolder, programs, programs, L""},
        {t->GetCacheFolder, programs + L"\\Cache", programs, programs + L"\\Cache"},
        {t->GetInstallProductFolder, programs + L"\\Vellmar", programs, programs + L"\\Vellmar"},
        {t->GetControllersFolder, programs + L"\\Vellmar\\Controllers", programs, programs + L"\\Vellmar"},
    };
    for (const auto& r : rows) {
        qltest::removeHostTree();
        EXPECT_EQ(get(r.op), r.path);
        EXPECT_TRUE(exists(r.made)) << r.path;
        EXPECT_TRUE(r.notMade.empty() || !exists(r.notMade)) << r.path;
    }
    // A path one unit too long for the capacity: empty, and the last level is not made.
    qltest::removeHostTree();
    const std::wstring jobs = common + L"\\Vellmar\\Jobs";
    EXPECT_EQ(get(t->GetJobsFolder, static_cast<int32_t>(jobs.size())), L"");
    EXPECT_FALSE(exists(jobs));
    EXPECT_EQ(get(t->GetJobsFolder, static_cast<int32_t>(jobs.size() + 1)), jobs);

    wchar_t* desktop = nullptr;
    ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop), S_OK);
    EXPECT_EQ(get(t->GetDesktopFolder), desktop);
    CoTaskMemFree(desktop);
}

TEST_F(ShellFolders, SettingsAreWrittenToTheFileAndReadBack) {
    hostkit::Object other;
    get(t->GetUserProductFolder);  // the settings file's folders, gone with an earlier test's tree
    const std::wstring ini = local + L"\\Vellmar\\Vellmar.ini";
    DeleteFileW(ini.c_str());
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), other.table()->GetSettingsFilePath(other.get()));
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), ini);
    EXPECT_EQ(get(t->GetJobFilePath), common + L"\\Vellmar\\Jobs");  // the default; no file made
    EXPECT_FALSE(exists(ini));

    const std::wstring job = L"C:\\jobs\\run " + std::to_wstring(GetCurrentProcessId()) + L".qlj";
    t->SetJobFilePath(obj.get(), job.c_str());
    t->SetGraphixFilePath(obj.get(), L"D:\\art");
    EXPECT_EQ(get(t->GetJobFilePath), job);
    EXPECT_EQ(get(t->GetJobFilePath, 8), job.substr(0, 7));
    RemoveDirectoryW((common + L"\\Vellmar\\Graphix").c_str());
    EXPECT_EQ(get(other.table()->GetGraphixFilePath), L"D:\\art");
    EXPECT_TRUE(exists(common + L"\\Vellmar\\Graphix"));  // made by every read

    std::string text(4096, '\0');
    if (FILE* f = _wfopen(ini.c_str(), L"rb")) text.resize(fread(&text[0], 1, text.size(), f)), fclose(f);
    for (const std::string& line : {std::string("[Current Settings]"), "Job File Path=" + std::string(job.begin(), job.end()),
                                    std::string("Graphix File Path=D:\\art")})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in\n" << text;

    t->SetJobFilePath(obj.get(), nullptr);  // removes the key: the default is back
    EXPECT_EQ(get(t->GetJobFilePath), common + L"\\Vellmar\\Jobs");
}

}  // namespace
