// The data file as the window sees it: loaded when it opens, saved when it closes, merged with what
// another writer put there meanwhile.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"
#include "res/Resource.h"
#include "storage/EntryFormat.h"
#include "storage/FileOps.h"
#include "tests/unit/StorageEntryRowPrint.h"

#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

namespace
{
const char kWorkedExample[] =
    "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n\r\n"
    "DESCRIPTION=Server move\r\nOT=2:00\r\nDATE=2005-03-02\r\n";

class DataFileWindowTest : public GuiTest
{
protected:
    void AddEntry(const std::string& strDescription)
    {
        m_pMain->m_strDescription = strDescription;
        m_pMain->m_strDate = "2026-12-11";
        m_pMain->m_strOvertime = "1:00";
        m_pMain->PushFields();
        Click("IDC_ADD");
    }

    static std::vector<std::string> FolderNames()
    {
        std::vector<std::string> names;
        if (DIR* pDir = opendir("."))
        {
            while (dirent* pEntry = readdir(pDir))
                if (std::string(pEntry->d_name) != "." && std::string(pEntry->d_name) != "..")
                    names.push_back(pEntry->d_name);
            closedir(pDir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static time_t TimeOf(const char* pszName)
    {
        struct stat info;
        return stat(pszName, &info) == 0 ? info.st_mtime : -1;
    }
};
}  // namespace

TEST_F(DataFileWindowTest, WorkedExampleRoundTripsThroughTheWindow)
{
    WriteFile("kvl.dat", kWorkedExample);
    CMainDialog& dialog = OpenMain();
    ASSERT_EQ(dialog.m_listEntries.GetRowCount(), 2);
    EXPECT_EQ(dialog.m_listEntries.GetRow(0), (EntryRow{"Server move", "2005-03-02", "2:00"}));
    EXPECT_EQ(dialog.m_listEntries.GetRow(1), (EntryRow{"Backup", "2005-03-01", "1:30"}));
    dialog.PullFields();
    EXPECT_EQ(dialog.m_strDescription, "");
    CloseMain();
    EXPECT_EQ(ReadFile("kvl.dat"), kWorkedExample);
    EXPECT_EQ(ReadFile("kvl.dat").size(), 116u);
}

TEST_F(DataFileWindowTest, LoadedTextsAreNotCompleted)
{
    WriteFile("kvl.dat", "DESCRIPTION=a=b\r\nOT=0\r\nDATE=x\r\n\r\nDESCRIPTION=c\r\nOT=1:1\r\nDATE=y");
    CMainDialog& dialog = OpenMain();
    ASSERT_EQ(dialog.m_listEntries.GetRowCount(), 2);
    EXPECT_EQ(dialog.m_listEntries.GetRow(1), (EntryRow{"a=b", "x", "0"}));
    EXPECT_EQ(dialog.m_listEntries.GetRow(0), (EntryRow{"c", "y", "1:1"}));
}

TEST_F(DataFileWindowTest, MissingFileOpensEmptyAndIsCreated)
{
    CMainDialog& dialog = OpenMain();
    EXPECT_EQ(dialog.m_listEntries.GetRowCount(), 0);
    struct stat info;
    ASSERT_EQ(stat("kvl.dat", &info), 0);
    EXPECT_EQ(info.st_size, 0);
}

TEST_F(DataFileWindowTest, ReadOnlyFileIsReportedAndKept)
{
    WriteFile("kvl.dat", kWorkedExample);
    ASSERT_EQ(chmod("kvl.dat", 0444), 0);
    CMainDialog& dialog = OpenMain();
    dialog.m_listEntries.DeleteRow(0);
    CloseMain();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].strText, "Save to File");
    EXPECT_EQ(m_messages[0].strCaption, "Error Writing File");
    EXPECT_EQ(ReadFile("kvl.dat"), kWorkedExample);
}

// A Ctrl-Z in a description: the loader stops there. Two runs without changes leave the file, its
// time stamp and the absent backup as they were; the first change keeps the file first and says so
// once, by name.
TEST_F(DataFileWindowTest, RunsWithoutChangesLeaveALossyFileAlone)
{
    const std::string strLossy = std::string(kWorkedExample).replace(std::string(kWorkedExample).find("Backup"), 6, "Back\x1aup");
    WriteFile("kvl.dat", strLossy);
    const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, "kvl.dat", times, 0), 0);
    for (int nRun = 0; nRun < 2; ++nRun)
    {
        CMainDialog& dialog = OpenMain();
        EXPECT_EQ(dialog.m_listEntries.GetRowCount(), 1);
        CloseMain();
    }
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(ReadFile("kvl.dat"), strLossy);
    EXPECT_EQ(TimeOf("kvl.dat"), 1000000000);
    EXPECT_EQ(FolderNames(), std::vector<std::string>{"kvl.dat"});

    OpenMain();
    AddEntry("first change");
    AddEntry("second change");
    CloseMain();
    const std::vector<std::string> names = FolderNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0], "kvl.dat");
    EXPECT_EQ(names[1], "kvl.dat.bak");
    const std::string strKept = names[2];
    EXPECT_EQ(strKept.rfind("kvl.dat.unread-", 0), 0u) << strKept;
    EXPECT_EQ(ReadFile(strKept), strLossy);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].strText.find("\"" + strKept + "\""), std::string::npos) << m_messages[0].strText;
    EXPECT_EQ(m_messages[0].strCaption, "Data File Kept");
    EXPECT_NE(ReadFile("kvl.dat").find("DESCRIPTION=second change"), std::string::npos);
}

// The backup cannot be written: every change is still saved, and the user hears of it once.
TEST_F(DataFileWindowTest, BackupThatCannotBeWrittenIsToldOnce)
{
    WriteFile("kvl.dat", kWorkedExample);
    ASSERT_EQ(mkdir("kvl.dat.bak", 0755), 0);
    OpenMain();
    AddEntry("first change");
    AddEntry("second change");
    CloseMain();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].strCaption, "No Backup");
    EXPECT_NE(m_messages[0].strText.find("\"kvl.dat.bak\""), std::string::npos) << m_messages[0].strText;
    EXPECT_NE(ReadFile("kvl.dat").find("DESCRIPTION=second change"), std::string::npos);
}

// The signal path's save writes a changed table, keeping a lossy file first; every change is
// written at once, so the change waits here only with that switched off.
TEST_F(DataFileWindowTest, SignalAfterAChangeKeepsTheFileAndSavesTheTable)
{
    const std::string strLossy = std::string(kWorkedExample) + "NOTE=only here\r\n";
    WriteFile("kvl.dat", strLossy);
    CMainDialog& dialog = OpenMain();
    dialog.m_bWriteEachChange = false;
    AddEntry("before the signal");
    EXPECT_EQ(ReadFile("kvl.dat"), strLossy);
    dialog.EndOnSignal();
    EXPECT_NE(ReadFile("kvl.dat").find("DESCRIPTION=before the signal"), std::string::npos);
    const std::vector<std::string> names = FolderNames();
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(ReadFile(names[2]), strLossy);
    EXPECT_EQ(ReadFile("kvl.dat.bak"), strLossy);
    CloseMain();
    EXPECT_EQ(FolderNames().size(), 3u);
}

namespace
{
const EntryRow kBackup = {"Backup", "2005-03-01", "1:30"};
const EntryRow kServerMove = {"Server move", "2005-03-02", "2:00"};
const EntryRow kThere = {"Written elsewhere", "2005-03-05", "0:30"};

// The window while another writer changes kvl.dat: the form driven through its handlers.
class OtherWriterWindowTest : public GuiTest
{
protected:
    void Type(const std::string& strDescription, const std::string& strDate, const std::string& strOvertime)
    {
        Text("IDC_DESCRIPTION")->ChangeValue(wxString::FromUTF8(strDescription));
        Text("IDC_DATE")->ChangeValue(wxString::FromUTF8(strDate));
        dynamic_cast<wxComboBox*>(m_pMain->FindWindow(XRCID("IDC_OVERTIME")))
            ->ChangeValue(wxString::FromUTF8(strOvertime));
    }
    wxTextCtrl* Text(const char* pszName) { return dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID(pszName))); }
    void Mark(int nRow) { m_pMain->m_listEntries.GetListCtrl()->MoveSelectionMark(nRow); }
    std::vector<EntryRow> Shown() const
    {
        std::vector<EntryRow> rows;
        for (int i = 0; i < m_pMain->m_listEntries.GetRowCount(); ++i)
            rows.push_back(m_pMain->m_listEntries.GetRow(i));
        return rows;
    }
    // An editor or a sync tool: a new file renamed over kvl.dat, or the same file written again.
    void WriteElsewhere(bool bRename, const std::vector<EntryRow>& table)
    {
        const std::string strBytes = FormatEntryTable(table);
        if (!bRename)
        {
            WriteFile("kvl.dat", strBytes);
            return;
        }
        WriteFile("kvl.dat.sync", strBytes);
        ASSERT_EQ(rename("kvl.dat.sync", "kvl.dat"), 0);
    }
};
}  // namespace

// Replaced by rename and rewritten in place, each followed by an Add and a Delete here: the list
// and the file hold both sides' work, and the first save after each change says what came in.
TEST_F(OtherWriterWindowTest, AddAndDeleteAfterAnotherWriter)
{
    for (const bool bRename : {true, false})
    {
        SCOPED_TRACE(bRename ? "replaced by rename" : "rewritten in place");
        WriteFile("kvl.dat", kWorkedExample);
        OpenMain();
        m_messages.clear();

        WriteElsewhere(bRename, {kThere, kServerMove});  // one added there, Backup deleted there
        Type("Added here", "2005-03-06", "1:00");
        Click("IDC_ADD");
        const EntryRow here = {"Added here", "2005-03-06", "1:00"};
        EXPECT_EQ(Shown(), (std::vector<EntryRow>{kThere, here, kServerMove}));
        EXPECT_EQ(ReadFile("kvl.dat"), FormatEntryTable(Shown()));
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_NE(m_messages[0].strText.find("1 entry came in"), std::string::npos) << m_messages[0].strText;
        EXPECT_NE(m_messages[0].strText.find("1 entry was deleted there"), std::string::npos);
        EXPECT_EQ(m_messages[0].pOwner, m_pMain.get());
        // The form keeps what was typed.
        EXPECT_EQ(Text("IDC_DESCRIPTION")->GetValue(), "Added here");

        WriteElsewhere(bRename, {kBackup, kThere, here, kServerMove});  // Backup written again there
        Mark(1);
        Click("IDC_DELETE");  // "Added here"
        EXPECT_EQ(Shown(), (std::vector<EntryRow>{kBackup, kThere, kServerMove}));
        EXPECT_EQ(ReadFile("kvl.dat"), FormatEntryTable(Shown()));
        ASSERT_EQ(m_messages.size(), 2u);
        EXPECT_NE(m_messages[1].strText.find("1 entry came in"), std::string::npos);

        // Nothing new there: the next change is saved without a word.
        Mark(0);
        Click("IDC_DELETE");
        EXPECT_EQ(m_messages.size(), 2u);
        EXPECT_EQ(ReadFile("kvl.dat"), FormatEntryTable({kThere, kServerMove}));
        CloseMain();
    }
}

// The marked entry keeps the mark when rows come in above it, and loses it when it went there.
TEST_F(OtherWriterWindowTest, SelectionMarkFollowsItsEntry)
{
    WriteFile("kvl.dat", kWorkedExample);
    OpenMain();
    Mark(1);  // Backup
    WriteElsewhere(true, {kThere, kServerMove, kBackup});
    Type("Added here", "", "");
    Click("IDC_ADD");
    ASSERT_EQ(Shown().size(), 4u);
    const int nMarked = m_pMain->m_listEntries.GetMarkedRow();
    ASSERT_TRUE(m_pMain->m_listEntries.HasRow(nMarked));
    EXPECT_EQ(m_pMain->m_listEntries.GetRow(nMarked), kBackup);

    WriteElsewhere(true, {kThere, {"Added here", "", ""}, kServerMove});  // Backup deleted there
    Type("Another", "", "");
    Click("IDC_ADD");
    EXPECT_EQ(m_pMain->m_listEntries.GetMarkedRow(), -1);
    EXPECT_EQ(m_pMain->m_nRowCount, 4);
}

// A change there found only when the window closes is merged into the file without a message.
TEST_F(OtherWriterWindowTest, ClosingSaveMergesQuietly)
{
    WriteFile("kvl.dat", kWorkedExample);
    OpenMain();
    m_messages.clear();
    WriteElsewhere(false, {kThere, kServerMove, kBackup});
    CloseMain();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(ReadFile("kvl.dat"), FormatEntryTable({kThere, kServerMove, kBackup}));
}

// Where no temporary file can be made the file is written in place, and that is told once a run.
TEST_F(OtherWriterWindowTest, SaveInPlaceIsToldOnce)
{
    WriteFile("kvl.dat", kWorkedExample);
    WriteFile("kvl.dat.bak", "");  // kept from the days the folder took new files
    OpenMain();
    m_messages.clear();
    CurrentFileOps().pfnOpen = [](const char* pszPath, int nFlags, mode_t nMode) {
        if (nFlags & O_EXCL)  // the temporary file: a folder that takes no new file
        {
            errno = EACCES;
            return -1;
        }
        return SystemFileOps().pfnOpen(pszPath, nFlags, nMode);
    };
    Type("First", "", "");
    Click("IDC_ADD");
    Type("Second", "", "");
    Click("IDC_ADD");
    CurrentFileOps() = SystemFileOps();
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_NE(m_messages[0].strText.find("in place"), std::string::npos) << m_messages[0].strText;
    EXPECT_EQ(ReadFile("kvl.dat"), FormatEntryTable(Shown()));
    EXPECT_EQ(Shown().size(), 4u);
}

TEST_F(OtherWriterWindowTest, AMergeEndsTheUndoHistory)
{
    WriteFile("kvl.dat", kWorkedExample);
    OpenMain();
    Mark(0);
    Click("IDC_DELETE");  // a step of this window's own
    WriteElsewhere(true, {kThere, kServerMove});
    Type("Added here", "", "");
    Click("IDC_ADD");  // the save takes the other writer's table in
    const std::vector<EntryRow> merged = Shown();
    ASSERT_NE(std::find(merged.begin(), merged.end(), kThere), merged.end());
    // The history's places were those of the table before the merge.
    EXPECT_FALSE(m_pMain->GetSystemMenu()->FindItem(IDM_UNDO)->IsEnabled());
    wxCommandEvent undo(wxEVT_MENU, IDM_UNDO);
    m_pMain->ProcessWindowEvent(undo);
    EXPECT_EQ(Shown(), merged);
    EXPECT_EQ(ReadFile("kvl.dat"), FormatEntryTable(merged));
}
