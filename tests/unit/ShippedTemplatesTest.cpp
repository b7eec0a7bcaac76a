// Tests of the search for the shipped report templates and of the copy that stands in for one.
#include "report/ShippedTemplates.h"
#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class ShippedTemplatesTest : public testing::Test
{
protected:
    void SetUp() override { m_folder.Enter("vantrell-templates"); }
    void TearDown() override { m_folder.Leave(); }

    std::string Path(const std::string& strRelative) const { return m_folder.GetPath() + "/" + strRelative; }
    static void MakeDirs(const std::string& strPath)
    {
        for (size_t i = 1; i <= strPath.size(); ++i)
            if (i == strPath.size() || strPath[i] == '/')
                mkdir(strPath.substr(0, i).c_str(), 0755);
    }
    static void Write(const std::string& strPath, const std::string& strBytes)
    {
        std::ofstream(strPath, std::ios::binary) << strBytes;
    }
    static std::string Read(const std::string& strPath)
    {
        std::ifstream in(strPath, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    CTestFolder m_folder;
};
}  // namespace

TEST_F(ShippedTemplatesTest, InstalledCopyFirstThenTheSourceTreeOnlyFromTheBuildTree)
{
    MakeDirs(Path("usr/lib/vantrell"));
    MakeDirs(Path("usr/share/vantrell/templates"));
    MakeDirs(Path("src/templates"));
    MakeDirs(Path("src/build/app"));
    Write(Path("usr/lib/vantrell/vantrell"), "");
    Write(Path("src/build/app/vantrell"), "");
    Write(Path("usr/share/vantrell/templates/ReportOutside.htm"), "installed");
    Write(Path("src/templates/ReportOutside.htm"), "source");
    Write(Path("src/templates/ReportInside.htm"), "source");

    const ShippedTemplatePlaces installed{Path("usr/lib/vantrell/vantrell"), Path("src/build"), Path("src/templates")};
    const ShippedTemplatePlaces built{Path("src/build/app/vantrell"), Path("src/build"), Path("src/templates")};
    // A program elsewhere, or beside the build tree under a name that only begins like it.
    MakeDirs(Path("src/build-other"));
    Write(Path("src/build-other/vantrell"), "");
    const ShippedTemplatePlaces other{Path("src/build-other/vantrell"), Path("src/build"), Path("src/templates")};
    const ShippedTemplatePlaces gone{Path("nothing/vantrell"), Path("src/build"), Path("src/templates")};

    const struct
    {
        const char* pszCase;
        const ShippedTemplatePlaces& places;
        const char* pszName;
        std::string strFound;
    } cases[] = {
        {"installed", installed, "ReportOutside.htm", Path("usr/share/vantrell/templates/ReportOutside.htm")},
        {"installed, not shipped there", installed, "ReportInside.htm", ""},
        {"build tree", built, "ReportOutside.htm", Path("src/templates/ReportOutside.htm")},
        {"build tree", built, "ReportInside.htm", Path("src/templates/ReportInside.htm")},
        {"outside the build tree", other, "ReportOutside.htm", ""},
        {"no such program", gone, "ReportOutside.htm", ""},
        {"a folder of that name is no template", built, "../templates", ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.pszCase) + ": " + c.pszName);
        EXPECT_EQ(FindShippedTemplate(c.places, c.pszName), c.strFound);
    }
}

TEST_F(ShippedTemplatesTest, CopyIsByteForByteAndNeverOverAnything)
{
    const char szBytes[] = "<p>\r\nline\n\x1a after Ctrl-Z\0end";
    const std::string strBytes(szBytes, sizeof szBytes - 1);
    Write("shipped.htm", strBytes);
    ASSERT_TRUE(CopyToNewFile("shipped.htm", "copy.htm"));
    EXPECT_EQ(Read("copy.htm"), strBytes);

    // An existing file and a dangling link are left as they are.
    Write("own.htm", "mine");
    EXPECT_FALSE(CopyToNewFile("shipped.htm", "own.htm"));
    EXPECT_EQ(Read("own.htm"), "mine");
    ASSERT_EQ(symlink("elsewhere/target.htm", "link.htm"), 0);
    EXPECT_FALSE(CopyToNewFile("shipped.htm", "link.htm"));
    struct stat st;
    EXPECT_NE(stat("elsewhere/target.htm", &st), 0);
    EXPECT_FALSE(IsMissingFile("link.htm"));

    // No source, or a folder as the source: nothing is left behind.
    mkdir("folder.htm", 0755);
    for (const char* pszSource : {"absent.htm", "folder.htm"})
    {
        SCOPED_TRACE(pszSource);
        EXPECT_FALSE(CopyToNewFile(pszSource, "new.htm"));
        EXPECT_TRUE(IsMissingFile("new.htm"));
    }
}

TEST_F(ShippedTemplatesTest, CurrentFolderIsTheProcessFolder)
{
    char szReal[PATH_MAX];
    ASSERT_NE(realpath(m_folder.GetPath().c_str(), szReal), nullptr);
    EXPECT_EQ(CurrentFolder(), szReal);
}
