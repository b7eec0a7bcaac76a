// What the loader cannot read is never destroyed: the lossy-load rule, the kept copy, saves that
// change nothing, a backup that cannot be written, and the temporary files of killed saves.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include "StorageTestDir.h"
#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"
#include "storage/EntryParser.h"
#include "storage/LossyLoad.h"

namespace
{
const std::string WORKED =
    "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n\r\n"
    "DESCRIPTION=Server move\r\nOT=2:00\r\nDATE=2005-03-02\r\n";
const EntryRow NEW_ROW = {"added here", "2026-12-11", "0:45"};

std::string Replace(std::string str, const std::string& strFrom, const std::string& strTo)
{
    for (size_t n = str.find(strFrom); n != std::string::npos; n = str.find(strFrom, n + strTo.size()))
        str.replace(n, strFrom.size(), strTo);
    return str;
}

std::string Utf16Le(const std::string& strAscii)
{
    std::string str = "\xFF\xFE";
    for (char c : strAscii)
    {
        str += c;
        str += '\0';
    }
    return str;
}

// Records enough to fill several 64 KiB read buffers.
std::string ManyRecords(int nCount)
{
    std::string str = "CREATOR=KVL 1.0\r\n";
    for (int i = 0; i < nCount; ++i)
        str += (i ? "\r\n" : "") + std::string("DESCRIPTION=entry ") + std::to_string(i) + "\r\nOT=1:00\r\nDATE=d\r\n";
    return str;
}

bool SaveTable(CEntryFile& file, const std::vector<EntryRow>& table)
{
    return file.Save(table.size(), [&table](size_t i) -> const EntryRow& { return table[i]; });
}

std::vector<EntryRow> LoadTable(CEntryFile& file, bool* pbOpened = nullptr)
{
    std::vector<EntryRow> table;
    const bool bOpened = file.Load([&table](EntryRow&& row) { table.insert(table.begin(), std::move(row)); });
    if (pbOpened)
        *pbOpened = bOpened;
    return table;
}

struct SLossCase
{
    const char* pszName;
    std::string strFile;
    bool bLossy;
};

// The format's own normalisations lose nothing a user typed; everything else does.
const std::vector<SLossCase> LOSS_CASES = {
    {"empty file", "", false},
    {"the save's own bytes", WORKED, false},
    {"LF line ends", Replace(WORKED, "\r\n", "\n"), false},
    {"blanks at line ends", "DESCRIPTION=a  \r\nOT=1:00\t\r\nDATE=d \f\r\n", false},
    {"no header", Replace(WORKED, "CREATOR=KVL 1.0\r\n", ""), false},
    {"header only", "CREATOR=KVL 1.0\r\n", false},
    {"header twice", "CREATOR=KVL 1.0\r\n" + WORKED, false},
    {"no separating empty lines, extra empty lines", "\r\n\r\nDESCRIPTION=a\r\nOT=1\r\nDATE=d\r\n\r\n\r\nDESCRIPTION=b\r\n", false},
    {"key without =", "DESCRIPTION=a\r\nOT\r\nDATE\r\n", false},
    {"carried-over OT and DATE", "DESCRIPTION=a\r\nOT=1:00\r\nDATE=d\r\nDESCRIPTION=b\r\nDATE=e\r\n", false},
    {"last line without line end", Replace(WORKED, "2005-03-02\r\n", "2005-03-02"), false},
    {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + WORKED, false},
    {"UTF-8 byte-order mark without the header", "\xEF\xBB\xBF" "DESCRIPTION=first\r\nOT=1:00\r\nDATE=d\r\n", false},
    {"Ctrl-Z ending the file", WORKED + "\x1a", false},
    {"Ctrl-Z after the last text, then line ends", Replace(WORKED, "2005-03-02\r\n", "2005-03-02\x1a\r\n\x1a"), false},
    {"valid UTF-8 and NUL bytes", std::string("DESCRIPTION=\xC3\x9C" "ber\0x\r\n", 21), false},
    {"content past the read buffer", ManyRecords(3000), false},

    {"Ctrl-Z inside a description", Replace(WORKED, "DESCRIPTION=Backup", "DESCRIPTION=Back\x1aup"), true},
    {"Ctrl-Z before the last record", Replace(WORKED, "\r\n\r\nDESCRIPTION=Server", "\r\n\x1a\r\nDESCRIPTION=Server"), true},
    {"Ctrl-Z past the read buffer", ManyRecords(3000) + "\x1a\r\nDESCRIPTION=after\r\n", true},
    {"lone CR line ends", Replace(WORKED, "\r\n", "\r"), true},
    {"lone CR inside a text", "DESCRIPTION=a\rb\r\n", true},
    {"UTF-16 with byte-order mark", Utf16Le(WORKED), true},
    {"Windows-1252 byte", "DESCRIPTION=caf\xE9\r\n", true},
    {"mixed UTF-8 and Windows-1252", "DESCRIPTION=caf\xC3\xA9 \xE9t\xE9\r\n", true},
    {"unknown key", WORKED + "NOTE=only here\r\n", true},
    {"line that is no record", "some notes\r\n" + WORKED, true},
    {"key in small letters", "description=a\r\n" + WORKED, true},
    {"other header value", Replace(WORKED, "KVL 1.0", "KVL 2.0"), true},
    {"record with an empty description", "DESCRIPTION=\r\nOT=9:00\r\nDATE=x\r\n\r\n" + Replace(WORKED, "CREATOR=KVL 1.0\r\n", ""), true},
    {"a key twice in one record", "DESCRIPTION=a\r\nOT=1:00\r\nOT=2:00\r\n", true},
    {"OT before the first description", "OT=0:30\r\nDESCRIPTION=a\r\nOT=1:00\r\n", true},
    {"a text file with no entry", "Shopping list\nmilk\n", true},
};

class EntryFileLossTest : public CStorageDirTest
{
protected:
    void SetOldTime(const std::string& strName)
    {
        const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, strName.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
    }

    static time_t TimeOf(const std::string& strName)
    {
        struct stat st;
        return stat(strName.c_str(), &st) == 0 ? st.st_mtime : -1;
    }

    static std::vector<std::string> KeptCopies(const std::string& strDir = ".")
    {
        std::vector<std::string> names;
        for (const std::string& strName : ListDir(strDir))
            if (strName.rfind("kvl.dat.unread-", 0) == 0)
                names.push_back(strName);
        return names;
    }
};
}  // namespace

TEST(LossyLoad, TheFormatsOwnNormalisationsAreNoLoss)
{
    for (const SLossCase& c : LOSS_CASES)
    {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(IsLossyLoad(c.strFile, FormatEntryTable(ParseEntryTable(c.strFile))), c.bLossy);
    }
}

// The save must hold each line in the file's order; more lines are allowed, fewer or others not.
TEST(LossyLoad, LinesMustAppearInOrder)
{
    const std::string strSaved = "CREATOR=KVL 1.0\r\nDESCRIPTION=a\r\nOT=1\r\nDATE=d\r\n";
    EXPECT_FALSE(IsLossyLoad("DESCRIPTION=a\r\nDATE=d\r\n", strSaved));
    EXPECT_TRUE(IsLossyLoad("DATE=d\r\nDESCRIPTION=a\r\n", strSaved));
    EXPECT_TRUE(IsLossyLoad("DESCRIPTION=a\r\nDESCRIPTION=a\r\n", strSaved));
    EXPECT_TRUE(IsLossyLoad("DESCRIPTION=a\r\n", ""));
    EXPECT_FALSE(IsLossyLoad("\r\n \r\n", ""));
    EXPECT_TRUE(IsLossyLoad("DESCRIPTION=a\r\nOT\r\n", "DESCRIPTION=a\r\nOTX=\r\n"));
}

// Runs without changes touch nothing, lossy or not; the first save that changes a lossy file keeps
// it first, once, under its own name; a lossless file gets no copy. Every case also reloads whole.
TEST_F(EntryFileLossTest, KeptCopyOnlyBeforeTheFirstRealChangeOfALossyFile)
{
    for (size_t n = 0; n < LOSS_CASES.size(); ++n)
    {
        const SLossCase& c = LOSS_CASES[n];
        SCOPED_TRACE(c.pszName);
        const std::string strCaseDir = m_strDir + "/case" + std::to_string(n);
        ASSERT_EQ(mkdir(strCaseDir.c_str(), 0755), 0);
        ASSERT_EQ(chdir(strCaseDir.c_str()), 0);
        WriteBytes("kvl.dat", c.strFile);
        ASSERT_EQ(chmod("kvl.dat", 0640), 0);
        SetOldTime("kvl.dat");
        const std::vector<EntryRow> expected = ParseEntryTable(c.strFile);

        for (int nRun = 0; nRun < 2; ++nRun)
        {
            CEntryFile file;
            EXPECT_EQ(LoadTable(file), expected);
            EXPECT_EQ(file.HasUnreadContent(), c.bLossy);
            EXPECT_TRUE(SaveTable(file, expected));
            EXPECT_TRUE(SaveTable(file, expected));
            const CEntryFile::SSaveNotes notes = file.TakeSaveNotes();
            EXPECT_EQ(notes.strKeptCopy, "");
            EXPECT_EQ(notes.strBackupNotKept, "");
        }
        EXPECT_EQ(ReadBytes("kvl.dat"), c.strFile);
        EXPECT_EQ(TimeOf("kvl.dat"), 1000000000);
        EXPECT_EQ(ListDir(), std::vector<std::string>{"kvl.dat"});

        std::vector<EntryRow> changed = expected;
        changed.insert(changed.begin(), NEW_ROW);
        {
            CEntryFile file;
            LoadTable(file);
            ASSERT_TRUE(SaveTable(file, changed));
            const CEntryFile::SSaveNotes notes = file.TakeSaveNotes();
            EXPECT_EQ(notes.strBackupNotKept, "");
            const std::vector<std::string> kept = KeptCopies();
            if (c.bLossy)
            {
                ASSERT_EQ(kept.size(), 1u);
                EXPECT_EQ(notes.strKeptCopy, kept[0]);
                EXPECT_EQ(kept[0].size(), std::string("kvl.dat.unread-YYYYMMDD-HHMMSS").size()) << kept[0];
                EXPECT_EQ(ReadBytes(kept[0]), c.strFile);
                EXPECT_EQ(ModeOf(kept[0]), 0640u);
            }
            else
            {
                EXPECT_TRUE(kept.empty());
                EXPECT_EQ(notes.strKeptCopy, "");
            }
            EXPECT_EQ(ReadBytes("kvl.dat"), FormatEntryTable(changed));
            EXPECT_EQ(ReadBytes("kvl.dat.bak"), c.strFile.empty() ? "(no regular file)" : c.strFile);

            // Once kept, the file is the table's: later changes in the run keep nothing more.
            changed.erase(changed.begin());
            ASSERT_TRUE(SaveTable(file, changed));
            EXPECT_EQ(file.TakeSaveNotes().strKeptCopy, "");
            EXPECT_EQ(KeptCopies().size(), kept.size());
        }
        CEntryFile nextRun;
        EXPECT_EQ(LoadTable(nextRun), ParseEntryTable(FormatEntryTable(changed)));  // a lone CR became a space
        EXPECT_FALSE(nextRun.HasUnreadContent());
        ASSERT_EQ(chdir(m_strDir.c_str()), 0);
    }
}

// A BOM is no part of the first key, and a text that mixes UTF-8 with one Windows-1252 byte keeps
// its UTF-8 characters.
TEST_F(EntryFileLossTest, ByteOrderMarkAndMixedTextsLoad)
{
    WriteBytes("kvl.dat", "\xEF\xBB\xBF" "DESCRIPTION=caf\xC3\xA9 \x80 5\r\nOT=1:00\r\nDATE=d\r\n");
    CEntryFile file;
    EXPECT_EQ(LoadTable(file), (std::vector<EntryRow>{{"caf\xC3\xA9 \xE2\x82\xAC 5", "d", "1:00"}}));
}

// kvl.dat a link to another text file: opening and closing leaves the target as it was; the first
// real save keeps its text beside the link, as the backup is, and then replaces it.
TEST_F(EntryFileLossTest, LinkToATextFileWithNoEntry)
{
    ASSERT_EQ(mkdir("notes", 0755), 0);
    const std::string strNotes = "Shopping list\nmilk\n";
    WriteBytes("notes/list.txt", strNotes);
    SetOldTime("notes/list.txt");
    ASSERT_EQ(symlink("notes/list.txt", "kvl.dat"), 0);
    for (int nRun = 0; nRun < 2; ++nRun)
    {
        CEntryFile file;
        EXPECT_TRUE(LoadTable(file).empty());
        EXPECT_TRUE(SaveTable(file, {}));
    }
    EXPECT_EQ(ReadBytes("notes/list.txt"), strNotes);
    EXPECT_EQ(TimeOf("notes/list.txt"), 1000000000);
    EXPECT_EQ(ListDir(), (std::vector<std::string>{"kvl.dat", "notes"}));

    CEntryFile file;
    LoadTable(file);
    ASSERT_TRUE(SaveTable(file, {NEW_ROW}));
    const std::vector<std::string> kept = KeptCopies();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0]), strNotes);
    EXPECT_EQ(ReadBytes("notes/list.txt"), FormatEntryTable({NEW_ROW}));
    struct stat st;
    ASSERT_EQ(lstat("kvl.dat", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ListDir("notes"), std::vector<std::string>{"list.txt"});
}

// The kept copy never replaces anything: a taken name gets a suffix, and a link of that name is
// not written through.
TEST_F(EntryFileLossTest, KeptCopyNeverOverwrites)
{
    const std::string strLossy = WORKED + "NOTE=x\r\n";
    WriteBytes("kvl.dat", strLossy);
    CEntryFile file;
    LoadTable(file);
    // Every name the next few seconds could give is taken already, one of them by a dangling link.
    std::vector<std::string> taken;
    for (int nSecond = 0; nSecond < 10; ++nSecond)
    {
        const time_t nNow = time(nullptr) + nSecond;
        struct tm local;
        localtime_r(&nNow, &local);
        char szStamp[32];
        strftime(szStamp, sizeof szStamp, "%Y%m%d-%H%M%S", &local);
        const std::string strName = std::string("kvl.dat.unread-") + szStamp;
        if (nSecond == 0)
            ASSERT_EQ(symlink("nowhere/x", strName.c_str()), 0);
        else
            WriteBytes(strName, "taken");
        WriteBytes(strName + "-2", "taken");
        taken.push_back(strName);
    }
    ASSERT_TRUE(SaveTable(file, {NEW_ROW}));
    const std::string strKept = file.TakeSaveNotes().strKeptCopy;
    EXPECT_NE(std::find(taken.begin(), taken.end(), strKept.substr(0, strKept.size() - 2)), taken.end()) << strKept;
    EXPECT_EQ(strKept.substr(strKept.size() - 2), "-3");
    EXPECT_EQ(ReadBytes(strKept), strLossy);
    for (const std::string& strName : taken)
        EXPECT_EQ(ReadBytes(strName + "-2"), "taken");
    EXPECT_EQ(ReadBytes(taken[0]), "(no regular file)");
    EXPECT_FALSE(Exists("nowhere"));
}

// A file the user may not read is never replaced: what it holds cannot be kept.
TEST_F(EntryFileLossTest, UnreadableFileIsNotReplaced)
{
    ASSERT_EQ(chmod(m_strDir.c_str(), 0755), 0);
    ASSERT_EQ(mkdir("case", 0755), 0);
    GiveToNobody("case");
    WriteBytes("case/kvl.dat", WORKED);
    GiveToNobody("case/kvl.dat");
    ASSERT_EQ(chmod("case/kvl.dat", 0200), 0);
    const int nResult = RunAsNobody([] {
        if (chdir("case") != 0)
            return 2;
        CEntryFile file;
        bool bOpened = true;
        if (!LoadTable(file, &bOpened).empty() || bOpened)
            return 3;
        return SaveTable(file, {NEW_ROW}) ? 4 : 0;
    });
    EXPECT_EQ(nResult, 0);
    ASSERT_EQ(chmod("case/kvl.dat", 0600), 0);
    EXPECT_EQ(ReadBytes("case/kvl.dat"), WORKED);
    EXPECT_EQ(ListDir("case"), std::vector<std::string>{"kvl.dat"});
}

// A backup that cannot be written never blocks the save; it is told once, by name.
TEST_F(EntryFileLossTest, BackupThatCannotBeWrittenDoesNotStopTheSave)
{
    struct SCase
    {
        const char* pszName;
        void (*pfnPrepare)();
    };
    const std::vector<SCase> cases = {
        {"read-only file", [] { WriteBytes("kvl.dat.bak", "older"); chmod("kvl.dat.bak", 0444); }},
        {"folder", [] { mkdir("kvl.dat.bak", 0755); }},
        {"dangling link", [] { symlink("gone/backup", "kvl.dat.bak"); }},
        {"link into a folder nobody may write", [] { mkdir("locked", 0555); symlink("locked/backup", "kvl.dat.bak"); }},
    };
    ASSERT_EQ(chmod(m_strDir.c_str(), 0755), 0);
    for (size_t n = 0; n < cases.size(); ++n)
    {
        SCOPED_TRACE(cases[n].pszName);
        const std::string strCaseDir = m_strDir + "/case" + std::to_string(n);
        ASSERT_EQ(mkdir(strCaseDir.c_str(), 0755), 0);
        GiveToNobody(strCaseDir);
        ASSERT_EQ(chdir(strCaseDir.c_str()), 0);
        const int nResult = RunAsNobody([&] {
            WriteBytes("kvl.dat", WORKED);
            cases[n].pfnPrepare();
            CEntryFile file;
            std::vector<EntryRow> table = LoadTable(file);
            table.insert(table.begin(), NEW_ROW);
            if (!SaveTable(file, table) || ReadBytes("kvl.dat") != FormatEntryTable(table))
                return 2;
            if (file.TakeSaveNotes().strBackupNotKept != "kvl.dat.bak")
                return 3;
            table.insert(table.begin(), {"second", "", ""});
            if (!SaveTable(file, table) || file.TakeSaveNotes().strBackupNotKept != "")
                return 4;
            return ReadBytes("kvl.dat") == FormatEntryTable(table) ? 0 : 5;
        });
        EXPECT_EQ(nResult, 0);
        // The obstacle is as it was, and no temporary file is left.
        struct stat st;
        EXPECT_EQ(lstat("kvl.dat.bak", &st), 0);
        if (n == 0)
        {
            EXPECT_EQ(ReadBytes("kvl.dat.bak"), "older");
        }
        for (const std::string& strName : ListDir())
            EXPECT_NE(strName[0], '.') << strName;
        ASSERT_EQ(chdir(m_strDir.c_str()), 0);
    }
}

// Only our own names, of processes that no longer exist, and only regular files are removed; beside
// the data file, its backup and a link's target.
TEST_F(EntryFileLossTest, StaleTemporaryFilesAreRemovedAtLoad)
{
    const pid_t nDead = fork();
    if (nDead == 0)
        _exit(0);
    ASSERT_GT(nDead, 0);
    ASSERT_EQ(waitpid(nDead, nullptr, 0), nDead);
    const std::string strDead = std::to_string(nDead);
    const std::string strLive = std::to_string(getpid());
    ASSERT_EQ(mkdir("data", 0755), 0);
    WriteBytes("data/real.dat", WORKED);
    ASSERT_EQ(symlink("data/real.dat", "kvl.dat"), 0);

    const std::vector<std::string> stale = {
        ".kvl.dat." + strDead + "-0.tmp",
        ".kvl.dat." + strDead + "-17.tmp",
        ".kvl.dat.bak." + strDead + "-1.tmp",
        ".kvl.dat.unread-20261211-101010." + strDead + "-2.tmp",
        "data/.real.dat." + strDead + "-3.tmp",
    };
    const std::vector<std::string> kept = {
        ".kvl.dat." + strLive + "-0.tmp",  // a live process may still be writing it
        ".kvl.dat.1-0.tmp",                // pid 1 lives
        ".kvl.dat." + strDead + ".tmp",
        ".kvl.dat.x" + strDead + "-0.tmp",
        ".kvl.dat." + strDead + "-0.tmp.old",
        ".kvl.datx." + strDead + "-0.tmp",
        "kvl.dat." + strDead + "-0.tmp",
        ".other.dat." + strDead + "-0.tmp",
        "data/.other.dat." + strDead + "-0.tmp",
        "data/.kvl.dat." + strDead + "-0.tmp",
    };
    for (const std::string& strName : stale)
        WriteBytes(strName, "half a save");
    for (const std::string& strName : kept)
        WriteBytes(strName, "not ours to remove");
    const std::string strDirName = ".kvl.dat." + strDead + "-5.tmp";
    const std::string strLinkName = ".kvl.dat." + strDead + "-6.tmp";
    ASSERT_EQ(mkdir(strDirName.c_str(), 0755), 0);
    ASSERT_EQ(symlink("data/real.dat", strLinkName.c_str()), 0);

    CEntryFile file;
    EXPECT_EQ(LoadTable(file).size(), 2u);
    for (const std::string& strName : stale)
        EXPECT_FALSE(Exists(strName)) << strName;
    for (const std::string& strName : kept)
        EXPECT_EQ(ReadBytes(strName), "not ours to remove") << strName;
    EXPECT_TRUE(Exists(strDirName));
    EXPECT_TRUE(Exists(strLinkName));
    EXPECT_EQ(ReadBytes("data/real.dat"), WORKED);
}

// Very long texts are kept whole through load and save.
TEST_F(EntryFileLossTest, TwentyMegabyteDescriptionIsKeptWhole)
{
    const std::vector<EntryRow> table = {{"after", "d2", "1:00"}, {std::string(20 << 20, 'x') + "y", "d1", "2:00"}};
    {
        CEntryFile file;
        ASSERT_TRUE(SaveTable(file, table));
    }
    CEntryFile file;
    EXPECT_EQ(LoadTable(file), table);
    EXPECT_FALSE(file.HasUnreadContent());
    SetOldTime("kvl.dat");
    EXPECT_TRUE(SaveTable(file, table));
    EXPECT_EQ(TimeOf("kvl.dat"), 1000000000);
}
