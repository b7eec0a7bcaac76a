// CEntryFile on real files: round trips, refused targets, links, permissions and the backup.
#include <gtest/gtest.h>

#include "StorageTestDir.h"
#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"

namespace
{
const std::vector<EntryRow> WORKED_TABLE = {{"Server move", "2005-03-02", "2:00"}, {"Backup", "2005-03-01", "1:30"}};
const std::string OLD_BYTES = "CREATOR=KVL 1.0\r\nDESCRIPTION=old\r\nOT=1:00\r\nDATE=2001-01-01\r\n";

bool SaveTable(CEntryFile& file, const std::vector<EntryRow>& table)
{
    return file.Save(table.size(), [&table](size_t i) -> const EntryRow& { return table[i]; });
}

// Each loaded entry goes to the top, as the window does it.
std::vector<EntryRow> LoadTable(CEntryFile& file, bool* pbOpened = nullptr)
{
    std::vector<EntryRow> table;
    const bool bOpened = file.Load([&table](EntryRow&& row) { table.insert(table.begin(), std::move(row)); });
    if (pbOpened)
        *pbOpened = bOpened;
    return table;
}

class EntryFileTest : public CStorageDirTest
{
};
}  // namespace

TEST_F(EntryFileTest, WorkedExampleSavedAndLoaded)
{
    CEntryFile file;
    ASSERT_TRUE(SaveTable(file, WORKED_TABLE));
    EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable(WORKED_TABLE));
    EXPECT_EQ(ReadBytes("kvl.dat").size(), 116u);
    EXPECT_EQ(LoadTable(file), WORKED_TABLE);
    EXPECT_EQ(ListDir(), std::vector<std::string>{"kvl.dat"});
}

TEST_F(EntryFileTest, SaveThenLoadGivesTheTableBack)
{
    std::vector<EntryRow> many;
    for (int i = 0; i < 1000; ++i)
        many.push_back({"entry " + std::to_string(i), "2024-01-" + std::to_string(i % 28 + 1), std::to_string(i % 13) + ":15"});
    const std::vector<std::vector<EntryRow>> tables = {
        {},
        {{"only", "2005-03-01", "1:30"}},
        {{"a=b", "=", "x=y=z"}, {"  leading blanks", "", ""}, {"OT not completed", "d", "0"}, {"x", "d", "1:1"}},
        {{"\xC3\x9C" "berstunden \xE2\x82\xAC", "2024-12-31", "12:00"}, {std::string("nul\0byte", 8), "", "90"}},
        {{"DESCRIPTION=looks like a key", "OT=", "DATE="}, {"\x7f\x01 controls", "\tx", "-1:30"}},
        many,
    };
    for (size_t n = 0; n < tables.size(); ++n)
    {
        SCOPED_TRACE("table " + std::to_string(n));
        CEntryFile file;
        ASSERT_TRUE(SaveTable(file, tables[n]));
        EXPECT_EQ(LoadTable(file), tables[n]);
    }
}

// What the format cannot hold, by design: trailing white space, and so a blank description.
TEST_F(EntryFileTest, TrailingWhiteSpaceIsNotKept)
{
    CEntryFile file;
    ASSERT_TRUE(SaveTable(file, {{"new", "d2", "2:00"}, {"  ", "d", "1:00"}, {"old ", "d1 ", "1:00\t"}}));
    EXPECT_EQ(LoadTable(file), (std::vector<EntryRow>{{"new", "d2", "2:00"}, {"old", "d1", "1:00"}}));
}

TEST_F(EntryFileTest, EmptyTableAndMissingFile)
{
    CEntryFile file;
    bool bOpened = false;
    EXPECT_TRUE(LoadTable(file, &bOpened).empty());
    EXPECT_TRUE(bOpened);
    EXPECT_TRUE(Exists("kvl.dat"));  // a missing file is created empty
    ASSERT_TRUE(SaveTable(file, {}));
    EXPECT_EQ(ReadBytes("kvl.dat"), "");
    EXPECT_TRUE(LoadTable(file).empty());
    EXPECT_EQ(ListDir(), std::vector<std::string>{"kvl.dat"});
}

TEST_F(EntryFileTest, UnreadableFileLoadsNothing)
{
    ASSERT_EQ(mkdir("kvl.dat", 0755), 0);
    CEntryFile file;
    bool bOpened = true;
    EXPECT_TRUE(LoadTable(file, &bOpened).empty());
    EXPECT_FALSE(bOpened);
}

// Refused for every user, root included; the former file and folder stay exactly as they were.
TEST_F(EntryFileTest, RefusedTargetsAreLeftAlone)
{
    struct SCase
    {
        const char* pszName;
        void (*pfnPrepare)();
    };
    const std::vector<SCase> cases = {
        {"read-only file", [] { WriteBytes("kvl.dat", OLD_BYTES); chmod("kvl.dat", 0444); }},
        {"directory", [] { mkdir("kvl.dat", 0755); }},
        {"dangling link", [] { symlink("gone/kvl.dat", "kvl.dat"); }},
        {"link to a read-only file", [] { WriteBytes("real.dat", OLD_BYTES); chmod("real.dat", 0400); symlink("real.dat", "kvl.dat"); }},
    };
    for (size_t n = 0; n < cases.size(); ++n)
    {
        SCOPED_TRACE(cases[n].pszName);
        const std::string strCaseDir = "case" + std::to_string(n);
        ASSERT_EQ(mkdir(strCaseDir.c_str(), 0755), 0);
        ASSERT_EQ(chdir(strCaseDir.c_str()), 0);
        cases[n].pfnPrepare();
        const std::vector<std::string> before = ListDir();
        const std::string strBefore = ReadBytes("kvl.dat");
        char szLink[64] = {};
        readlink("kvl.dat", szLink, sizeof szLink - 1);
        CEntryFile file;
        EXPECT_FALSE(SaveTable(file, WORKED_TABLE));
        EXPECT_EQ(ListDir(), before);
        EXPECT_EQ(ReadBytes("kvl.dat"), strBefore);
        char szLinkAfter[64] = {};
        readlink("kvl.dat", szLinkAfter, sizeof szLinkAfter - 1);
        EXPECT_STREQ(szLinkAfter, szLink);
        ASSERT_EQ(chdir(".."), 0);
    }
}

TEST_F(EntryFileTest, LinkStaysALinkAndItsTargetIsReplaced)
{
    ASSERT_EQ(mkdir("data", 0755), 0);
    WriteBytes("data/real.dat", OLD_BYTES);
    ASSERT_EQ(chmod("data/real.dat", 0640), 0);
    ASSERT_EQ(symlink("data/real.dat", "kvl.dat"), 0);
    CEntryFile file;
    ASSERT_TRUE(SaveTable(file, WORKED_TABLE));
    struct stat st;
    ASSERT_EQ(lstat("kvl.dat", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes("data/real.dat"), FormatEntryTable(WORKED_TABLE));
    EXPECT_EQ(ModeOf("data/real.dat"), 0640u);
    EXPECT_EQ(ReadBytes("kvl.dat.bak"), OLD_BYTES);
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"data", "kvl.dat", "kvl.dat.bak"}));
    EXPECT_EQ(ListDir("data"), std::vector<std::string>{"real.dat"});
}

// The umask would otherwise decide; a private file stays private, a shared one shared.
TEST_F(EntryFileTest, PermissionsAreKept)
{
    for (mode_t nMode : {0600, 0666, 0604})
    {
        SCOPED_TRACE(nMode);
        WriteBytes("kvl.dat", OLD_BYTES);
        ASSERT_EQ(chmod("kvl.dat", nMode), 0);
        WriteBytes("kvl.dat.bak", "older backup");
        ASSERT_EQ(chmod("kvl.dat.bak", 0666), 0);
        CEntryFile file;
        ASSERT_TRUE(SaveTable(file, WORKED_TABLE));
        EXPECT_EQ(ModeOf("kvl.dat"), nMode);
        EXPECT_EQ(ModeOf("kvl.dat.bak"), nMode);  // the copy is as private as the file it keeps
    }
}

// The backup holds the file as it was before this object's first save, however often it saves.
TEST_F(EntryFileTest, OneBackupOfTheFormerFile)
{
    WriteBytes("kvl.dat", "foreign content\r\n");
    WriteBytes("kvl.dat.bak", "older backup");
    {
        CEntryFile file;
        ASSERT_TRUE(SaveTable(file, {{"first", "", ""}}));
        EXPECT_EQ(ReadBytes("kvl.dat.bak"), "foreign content\r\n");
        ASSERT_TRUE(SaveTable(file, WORKED_TABLE));
        EXPECT_EQ(ReadBytes("kvl.dat.bak"), "foreign content\r\n");
        EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable(WORKED_TABLE));
    }
    CEntryFile nextRun;
    ASSERT_TRUE(SaveTable(nextRun, {}));
    EXPECT_EQ(ReadBytes("kvl.dat.bak"), FormatEntryTable(WORKED_TABLE));
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"kvl.dat", "kvl.dat.bak"}));
}

TEST_F(EntryFileTest, NoBackupOfAnEmptyOrMissingFile)
{
    CEntryFile firstRun;
    ASSERT_TRUE(SaveTable(firstRun, {}));  // no file before
    CEntryFile secondRun;
    ASSERT_TRUE(SaveTable(secondRun, WORKED_TABLE));  // an empty file before
    ASSERT_TRUE(SaveTable(secondRun, {}));  // only the first save of a run may take one
    EXPECT_EQ(ListDir(), std::vector<std::string>{"kvl.dat"});
}
