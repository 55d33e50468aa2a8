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
const std::wstring local = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\Tamarisk Works";
const std::wstring common = qltest::systemFolder(CSIDL_COMMON_APPDATA) + L"\\Tamarisk Works\\Vellmar";
const std::wstring programs = qltest::systemFolder(CSIDL_PROGRAM_FILES) + L"\\Tamarisk Works";

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
    const std::wstring none = L"Q:\\none";
    const struct {
        void (*op)(ICommon*, QLWChar*, int32_t);
        std::wstring path, made, notMade;
    } rows[] = {
        {t->GetUserCompanyFolder, local, local, local + L"\\Vellmar"},
        {t->GetUserProductFolder, local + L"\\Vellmar", local + L"\\Vellmar", none},
        {t->GetCommonCompanyFolder, common.substr(0, common.rfind(L'\\')), common.substr(0, common.rfind(L'\\')), common},
        {t->GetCommonProductFolder, common, common, common + L"\\Jobs"},
        {t->GetFontsFolder, common + L"\\Fonts", common + L"\\Fonts", none},
        {t->GetJobsFolder, common + L"\\Jobs", common + L"\\Jobs", none},
        {t->GetDataFilePath, common + L"\\Vellmar.vdk", common, common + L"\\Vellmar.vdk"},
        {t->GetInstallCompanyFolder, programs, programs, none},
        {t->GetCacheFolder, programs + L"\\Cache", programs, programs + L"\\Cache"},
        {t->GetInstallProductFolder, programs + L"\\Vellmar", programs, programs + L"\\Vellmar"},
        {t->GetControllersFolder, programs + L"\\Vellmar\\Controllers", programs, programs + L"\\Vellmar"},
    };
    for (const auto& r : rows) {
        qltest::removeHostTree();
        EXPECT_EQ(get(obj, r.op), r.path);
        EXPECT_TRUE(exists(r.made)) << r.path;
        EXPECT_FALSE(exists(r.notMade)) << r.path;
    }
    // One unit too few for the path: the empty text, and its last level is not made.
    qltest::removeHostTree();
    EXPECT_EQ(get(obj, t->GetJobsFolder, static_cast<int32_t>(common.size() + 5)), L"");
    EXPECT_FALSE(exists(common + L"\\Jobs"));
    EXPECT_EQ(get(obj, t->GetJobsFolder, static_cast<int32_t>(common.size() + 6)), common + L"\\Jobs");

    wchar_t* desktop = nullptr;
    ASSERT_EQ(SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop), S_OK);
    EXPECT_EQ(get(obj, t->GetDesktopFolder), desktop);
    CoTaskMemFree(desktop);
}

TEST(ShellFolders, SettingsAreWrittenToTheFileAndReadBack) {
    hostkit::Object obj, other;
    const ICommonVtbl* t = obj.table();
    const std::wstring ini = local + L"\\Vellmar\\Vellmar.ini";
    get(obj, t->GetUserProductFolder);  // the settings file's folders, gone with the tree of the test before
    DeleteFileW(ini.c_str());
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), other.table()->GetSettingsFilePath(other.get()));
    EXPECT_EQ(t->GetSettingsFilePath(obj.get()), ini);
    EXPECT_EQ(get(obj, t->GetJobFilePath), common + L"\\Jobs");  // the default; no file made
    EXPECT_FALSE(exists(ini));

    const std::wstring job = L"C:\\jobs\\run " + std::to_wstring(GetCurrentProcessId()) + L".qlj";
    t->SetJobFilePath(obj.get(), job.c_str());
    t->SetGraphixFilePath(obj.get(), L"D:\\art");
    EXPECT_EQ(get(obj, t->GetJobFilePath), job);
    RemoveDirectoryW((common + L"\\Graphix").c_str());
    EXPECT_EQ(get(other, t->GetGraphixFilePath), L"D:\\art");
    EXPECT_TRUE(exists(common + L"\\Graphix"));  // made by every read

    std::string text(4096, '\0');
    if (FILE* f = _wfopen(ini.c_str(), L"rb")) text.resize(fread(&text[0], 1, text.size(), f)), fclose(f);
    for (const std::string& line : {std::string("[Current Settings]"), "Job File Path=" + std::string(job.begin(), job.end()),
                                    std::string("Graphix File Path=D:\\art")})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in\n" << text;
    t->SetJobFilePath(obj.get(), nullptr);  // removes the key: the default is back
    EXPECT_EQ(get(obj, t->GetJobFilePath), common + L"\\Jobs");
}

}  // namespace
