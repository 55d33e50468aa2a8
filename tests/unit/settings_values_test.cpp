// The two remembered paths through the recording fake: the defaults, the
// folders each read creates, the profile calls, and (natively) the
// private-profile files of the native build.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "folders_fake.h"
#include "object/qlcommon_impl.h"
#ifndef _WIN32
#include <unistd.h>

#include "shell/posix/folder_profile.h"
#endif

namespace {

using ::testing::ElementsAre;
using ql::toUtf8;

constexpr const char* kIni = "L:\\Local\\Tamarisk Works\\Vellmar\\Vellmar.ini";
constexpr const char* kJobs = "C:\\Common\\Tamarisk Works\\Vellmar\\Jobs";

class Settings : public ::testing::Test {
protected:
    void SetUp() override { obj = GetQLObject(nullptr); }
    void TearDown() override { QLDestroy(obj); }
    std::string read(void (ICommon::*op)(QLWChar*, int32_t), int32_t cap = 512) {
        std::vector<QLWChar> out(static_cast<size_t>(cap) + 4, QLWChar{'#'});
        (obj->*op)(out.data(), cap);
        EXPECT_EQ(out[static_cast<size_t>(cap)], QLWChar{'#'});
        return toUtf8(out.data());
    }
    std::vector<std::string>& calls() { return folders.fake.calls; }
    qltest::ScopedFakeFolders folders;
    ICommon* obj = nullptr;
};

TEST_F(Settings, JobReadComposesTheDefaultFirst) {
    EXPECT_EQ(read(&ICommon::GetJobFilePath), kJobs);
    EXPECT_THAT(calls(), ElementsAre(
        "SHGetFolderPathW 35 flags 1", "CreateDirectoryW C:\\Common\\Tamarisk Works",
        "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar", std::string("CreateDirectoryW ") + kJobs,
        "SHGetFolderPathW 28 flags 1", "CreateDirectoryW L:\\Local\\Tamarisk Works",
        "CreateDirectoryW L:\\Local\\Tamarisk Works\\Vellmar",
        std::string("GetPrivateProfileStringW Current Settings|Job File Path default ") + kJobs +
            " size 512 file " + kIni));
    calls().clear();
    read(&ICommon::GetJobFilePath, 7);  // the settings path is cached; the capacity goes to the platform
    EXPECT_EQ(calls().size(), 5u);
    EXPECT_EQ(calls().back(), std::string("GetPrivateProfileStringW Current Settings|Job File Path default ") +
                                  kJobs + " size 7 file " + kIni);
}

TEST_F(Settings, GraphixReadCreatesItsFolder) {
    folders.fake.profile["Current Settings|Graphix File Path"] = "E:\\Elsewhere";
    EXPECT_EQ(read(&ICommon::GetGraphixFilePath), "E:\\Elsewhere");
    EXPECT_EQ(calls()[3], "CreateDirectoryW C:\\Common\\Tamarisk Works\\Vellmar\\Graphix");
    EXPECT_EQ(calls().back(),
              std::string("GetPrivateProfileStringW Current Settings|Graphix File Path default "
                          "C:\\Common\\Tamarisk Works\\Vellmar\\Graphix size 512 file ") + kIni);
}

TEST_F(Settings, WritesGoToTheirOwnKeys) {
    obj->SetJobFilePath(QL_WIDE("J:\\job.qlj"));
    obj->SetGraphixFilePath(nullptr);  // removes the key, by the platform's rule
    EXPECT_EQ(calls()[calls().size() - 2],
              std::string("WritePrivateProfileStringW Current Settings|Job File Path = J:\\job.qlj file ") + kIni);
    EXPECT_EQ(calls().back(),
              std::string("WritePrivateProfileStringW Current Settings|Graphix File Path = (null) file ") + kIni);
}

TEST_F(Settings, WithoutBaseFoldersTheDefaultIsEmptyAndNothingIsWritten) {
    folders.fake.bases.clear();
    EXPECT_EQ(read(&ICommon::GetJobFilePath), "");
    obj->SetJobFilePath(QL_WIDE("x"));
    for (const std::string& c : calls()) {
        EXPECT_EQ(c.find("CreateDirectoryW"), std::string::npos) << c;
        EXPECT_EQ(c.find("PrivateProfile"), std::string::npos) << c;
    }
}

#ifndef _WIN32
// The native build's private-profile files.
class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override { path = "/tmp/ql-profile-" + std::to_string(getpid()) + ".ini"; std::remove(path.c_str()); }
    void TearDown() override { std::remove(path.c_str()); }
    std::string get(const char16_t* key, const char16_t* fallback = u"dflt", uint32_t size = 64) {
        std::vector<QLWChar> out(size + 2, u'#');
        ql::readProfileString(path, u"Current Settings", key, fallback, out.data(), size);
        EXPECT_EQ(out[size], u'#');
        return toUtf8(out.data());
    }
    std::string contents() {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string path;
};

TEST_F(ProfileFile, ReadWriteReplaceRemove) {
    EXPECT_EQ(get(u"Job File Path"), "dflt");  // no file: the default, no file made
    EXPECT_FALSE(std::ifstream(path).good());
    ASSERT_TRUE(ql::writeProfileString(path, u"Current Settings", u"Job File Path", u"C:\\j\\a.qlj"));
    ASSERT_TRUE(ql::writeProfileString(path, u"Current Settings", u"Graphix File Path", u"G"));
    ASSERT_TRUE(ql::writeProfileString(path, u"Current Settings", u"Job File Path", u"C:\\b"));
    EXPECT_EQ(contents(), "[Current Settings]\r\nJob File Path=C:\\b\r\nGraphix File Path=G\r\n");
    EXPECT_EQ(get(u"job file path"), "C:\\b");  // keys match without regard to case
    EXPECT_EQ(get(u"Job File Path", u"", 3), "C:");  // truncated to size - 1
    ASSERT_TRUE(ql::writeProfileString(path, u"Current Settings", u"Job File Path", nullptr));
    EXPECT_EQ(get(u"Job File Path"), "dflt");
    EXPECT_EQ(get(u"Graphix File Path"), "G");
}

TEST_F(ProfileFile, ForeignFileWithBlanksAndQuotes) {
    std::ofstream(path) << "[Other]\nJob File Path=no\n\n[ current settings ]\n  Job File Path =  \"Q:\\x y\"  \n[Last]\n";
    EXPECT_EQ(get(u"Job File Path"), "Q:\\x y");
    ASSERT_TRUE(ql::writeProfileString(path, u"Current Settings", u"Graphix File Path", u"\u00e9"));
    EXPECT_EQ(get(u"Graphix File Path"), "\xc3\xa9");
    EXPECT_NE(contents().find("Graphix File Path=\xc3\xa9\r\n[Last]"), std::string::npos) << contents();
}
#endif

}  // namespace
