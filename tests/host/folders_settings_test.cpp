// The settings file through the table, on the prefix's real folders: the
// defaults and the folders each read creates, no file made by a read, the
// values in the INI file, truncation to capacity - 1, independent keys.
#include <gtest/gtest.h>

#include <vector>

#include "folders_files.h"
#include "hostkit/host.h"

namespace {

// Held for the whole program: see folders_files.h.
const qltest::HostTreeLock hostTreeLock;

class Settings : public ::testing::Test {
protected:
    // The tree goes once per program: the settings path is composed once
    // per process, and its folders only by that first composition.
    static void SetUpTestSuite() { qltest::removeHostTree(); }

    void SetUp() override {
        common = qltest::systemFolder(CSIDL_COMMON_APPDATA) + L"\\Tamarisk Works\\Vellmar";
        ini = qltest::systemFolder(CSIDL_LOCAL_APPDATA) + L"\\Tamarisk Works\\Vellmar\\Vellmar.ini";
        DeleteFileW(ini.c_str());
    }
    std::wstring read(void (*op)(ICommon*, QLWChar*, int32_t), int32_t cap = 512) {
        std::vector<wchar_t> buf(static_cast<size_t>(cap) + 4, L'#');
        op(obj.get(), buf.data(), cap);
        EXPECT_EQ(buf[static_cast<size_t>(cap)], L'#');
        return buf.data();
    }
    std::wstring stored(const wchar_t* key) {
        wchar_t value[512];
        GetPrivateProfileStringW(L"Current Settings", key, L"(missing)", value, 512, ini.c_str());
        return value;
    }
    const ICommonVtbl* t() { return obj.table(); }

    hostkit::Object obj;
    std::wstring common, ini;
};

TEST_F(Settings, ReadsGiveDefaultsAndCreateNoFile) {
    RemoveDirectoryW((common + L"\\Jobs").c_str());
    EXPECT_EQ(read(t()->GetJobFilePath), common + L"\\Jobs");
    EXPECT_TRUE(qltest::isFolder(common + L"\\Jobs"));
    EXPECT_EQ(read(t()->GetGraphixFilePath), common + L"\\Graphix");
    EXPECT_TRUE(qltest::isFolder(common + L"\\Graphix"));
    EXPECT_FALSE(qltest::isFile(ini));
    EXPECT_TRUE(qltest::isFolder(ini.substr(0, ini.rfind(L'\\'))));  // the settings folders exist
}

TEST_F(Settings, WrittenValuesComeBackAndLiveInTheFile) {
    t()->SetJobFilePath(obj.get(), L"C:\\jobs\\front panel.qlj");
    EXPECT_EQ(read(t()->GetJobFilePath), L"C:\\jobs\\front panel.qlj");
    EXPECT_EQ(read(t()->GetJobFilePath, 8), L"C:\\jobs");  // capacity - 1 units
    EXPECT_EQ(stored(L"Job File Path"), L"C:\\jobs\\front panel.qlj");
    EXPECT_EQ(stored(L"Graphix File Path"), L"(missing)");  // the other key untouched

    const std::string text = qltest::fileBytes(ini);
    EXPECT_NE(text.find("[Current Settings]"), std::string::npos) << text;
    EXPECT_NE(text.find("Job File Path=C:\\jobs\\front panel.qlj"), std::string::npos) << text;

    // The graphics folder is made by every read, whatever the value names.
    t()->SetGraphixFilePath(obj.get(), L"D:\\elsewhere");
    RemoveDirectoryW((common + L"\\Graphix").c_str());
    EXPECT_EQ(read(t()->GetGraphixFilePath), L"D:\\elsewhere");
    EXPECT_TRUE(qltest::isFolder(common + L"\\Graphix"));
    EXPECT_EQ(stored(L"Job File Path"), L"C:\\jobs\\front panel.qlj");

    // A null value removes the key: the default is back.
    t()->SetJobFilePath(obj.get(), nullptr);
    EXPECT_EQ(read(t()->GetJobFilePath), common + L"\\Jobs");
    EXPECT_EQ(read(t()->GetGraphixFilePath), L"D:\\elsewhere");
}

TEST_F(Settings, ObjectsShareTheFile) {
    hostkit::Object other;
    t()->SetGraphixFilePath(obj.get(), L"G:\\shared");
    std::vector<wchar_t> buf(64);
    other.table()->GetGraphixFilePath(other.get(), buf.data(), 64);
    EXPECT_EQ(std::wstring(buf.data()), L"G:\\shared");
}

}  // namespace
