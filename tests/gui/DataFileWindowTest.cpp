// The data file as the window sees it: loaded when it opens, saved when it closes.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"

#include <sys/stat.h>

namespace
{
const char kWorkedExample[] =
    "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n\r\n"
    "DESCRIPTION=Server move\r\nOT=2:00\r\nDATE=2005-03-02\r\n";

class DataFileWindowTest : public GuiTest
{
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
