// The form's commands on the real main window, message boxes answered through the toolkit layer.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"

#include <wx/combobox.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

namespace
{
struct Form
{
    std::string strDescription, strDate, strOvertime;
};

class FormCommandsTest : public GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        OpenMain();
    }

    void Type(const Form& form)
    {
        Control("IDC_DESCRIPTION")->ChangeValue(wxString::FromUTF8(form.strDescription));
        Control("IDC_DATE")->ChangeValue(wxString::FromUTF8(form.strDate));
        Overtime()->ChangeValue(wxString::FromUTF8(form.strOvertime));
    }
    Form Shown()
    {
        return {Control("IDC_DESCRIPTION")->GetValue().utf8_string(),
                Control("IDC_DATE")->GetValue().utf8_string(), Overtime()->GetValue().utf8_string()};
    }
    wxTextCtrl* Control(const char* pszName)
    {
        return dynamic_cast<wxTextCtrl*>(m_pMain->FindWindow(XRCID(pszName)));
    }
    wxComboBox* Overtime() { return dynamic_cast<wxComboBox*>(m_pMain->FindWindow(XRCID("IDC_OVERTIME"))); }
    CEntryTable& Table() { return m_pMain->m_listEntries; }
    EntryRow Row(int i) { return Table().GetRow(i); }
    void Mark(int nRow) { Table().GetListCtrl()->MoveSelectionMark(nRow); }
};

void ExpectForm(const Form& actual, const Form& expected)
{
    EXPECT_EQ(actual.strDescription, expected.strDescription);
    EXPECT_EQ(actual.strDate, expected.strDate);
    EXPECT_EQ(actual.strOvertime, expected.strOvertime);
}
}  // namespace

TEST_F(FormCommandsTest, AddInsertsATopRowAndKeepsTheForm)
{
    Type({"Backup", "2005-03-01", "1"});
    Click("IDC_ADD");
    Type({"Server move", "", ""});
    Click("IDC_ADD");
    ASSERT_EQ(Table().GetRowCount(), 2);
    EXPECT_EQ(Row(0), (EntryRow{"Server move", "", ""}));
    EXPECT_EQ(Row(1), (EntryRow{"Backup", "2005-03-01", "1"}));  // stored as typed
    ExpectForm(Shown(), {"Server move", "", ""});
    EXPECT_TRUE(m_messages.empty());
    EXPECT_EQ(m_pMain->m_nRowCount, 2);
}

TEST_F(FormCommandsTest, AddShowsTheCompletedOvertimeAfterwards)
{
    Type({"Late deploy", "", "1"});
    Click("IDC_ADD");
    EXPECT_EQ(Row(0).strOvertime, "1");
    EXPECT_EQ(Shown().strOvertime, "1:00");
}

TEST_F(FormCommandsTest, BlankDescriptionIsRefusedWithAMessage)
{
    for (const char* pszBlank : {"", "   ", "\t "})
    {
        SCOPED_TRACE(std::string("'") + pszBlank + "'");
        m_messages.clear();
        Type({pszBlank, "2026-01-02", "0:30"});
        Click("IDC_ADD");
        EXPECT_EQ(Table().GetRowCount(), 0);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].strText, "Name Blank.\r\nNo entry added.");
        EXPECT_EQ(m_messages[0].strCaption, "Error");
        EXPECT_FALSE(m_messages[0].bExclamation);
        EXPECT_EQ(m_messages[0].pOwner, m_pMain.get());
        ExpectForm(Shown(), {pszBlank, "2026-01-02", "0:30"});
    }
}

TEST_F(FormCommandsTest, DuplicateIsAddedOnlyOnYes)
{
    Type({"Backup", "2005-03-01", "1:30"});
    Click("IDC_ADD");

    // The same description on another day is an ordinary new entry.
    Type({"Backup", "2005-03-02", "1:30"});
    Click("IDC_ADD");
    EXPECT_TRUE(m_messages.empty());

    Type({"Backup", "2005-03-02", "1:30"});
    m_answers = {EMessageAnswer::No};
    Click("IDC_ADD");
    EXPECT_EQ(Table().GetRowCount(), 2);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].strText,
              "This entry is already in the list.\r\nDo you really want to add this item?");
    EXPECT_EQ(m_messages[0].eButtons, EMessageButtons::YesNo);
    EXPECT_TRUE(m_messages[0].bExclamation);
    ExpectForm(Shown(), {"Backup", "2005-03-02", "1:30"});

    m_answers = {EMessageAnswer::Yes};
    Click("IDC_ADD");
    EXPECT_EQ(Table().GetRowCount(), 3);
    EXPECT_EQ(Row(0), Row(1));
}

TEST_F(FormCommandsTest, ClickLoadsTheMarkedRow)
{
    Type({"Backup", "2005-03-01", "2"});
    Click("IDC_ADD");
    Click("IDC_CLEAR");
    ExpectForm(Shown(), {"", "", ""});

    // No row marked yet: the form stays as it is.
    Type({"kept", "", ""});
    ClickList();
    ExpectForm(Shown(), {"kept", "", ""});

    Mark(0);
    ClickList();
    ExpectForm(Shown(), {"Backup", "2005-03-01", "2:00"});
    EXPECT_EQ(m_pMain->m_strOvertime, "2");
}

TEST_F(FormCommandsTest, FormFollowsTheMarkWhereverItMoves)
{
    for (const char* psz : {"C", "B", "A"})
    {
        Type({psz, "", "1"});
        Click("IDC_ADD");
    }
    // The list reports a mark moved by the user, by mouse or keyboard.
    const auto markMovedTo = [this](int nRow) {
        Mark(nRow);
        wxCommandEvent event(vtEVT_LIST_MARK, XRCID("IDC_LIST"));
        event.SetInt(nRow);
        m_pMain->ProcessWindowEvent(event);
    };
    Type({"typed", "", ""});
    markMovedTo(2);
    ExpectForm(Shown(), {"C", "", "1:00"});
    markMovedTo(1);
    ExpectForm(Shown(), {"B", "", "1:00"});

    // So Update writes the row that the form shows.
    Control("IDC_DESCRIPTION")->ChangeValue("B2");
    Click("IDC_UPDATE");
    EXPECT_EQ(Row(1).strDescription, "B2");
    EXPECT_EQ(Row(2).strDescription, "C");
}

TEST_F(FormCommandsTest, UpdateRewritesTheMarkedRowAndEmptiesTheForm)
{
    for (const char* psz : {"C", "B", "A"})
    {
        Type({psz, "", ""});
        Click("IDC_ADD");
    }
    Mark(1);
    ClickList();
    Click("IDC_CLEAR");  // the mark outlives Clear
    Type({"B2", "2026-12-11", "0:45"});
    Click("IDC_UPDATE");
    EXPECT_EQ(Row(0).strDescription, "A");
    EXPECT_EQ(Row(1), (EntryRow{"B2", "2026-12-11", "0:45"}));
    EXPECT_EQ(Row(2).strDescription, "C");
    ExpectForm(Shown(), {"", "", ""});

    // A blank description changes no row but still empties the form.
    Type({"  ", "2026-12-12", "1:00"});
    Click("IDC_UPDATE");
    EXPECT_EQ(Row(1).strDescription, "B2");
    ExpectForm(Shown(), {"", "", ""});

    // With no row marked nothing changes.
    Mark(-1);
    Type({"X", "", ""});
    Click("IDC_UPDATE");
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(Row(i).strDescription, "X");
}

TEST_F(FormCommandsTest, DeleteRemovesTheMarkedRowWithoutAsking)
{
    for (const char* psz : {"C", "B", "A"})
    {
        Type({psz, "", ""});
        Click("IDC_ADD");
    }
    Mark(0);
    Type({"typed", "", "1:3"});
    Click("IDC_DELETE");
    EXPECT_EQ(Table().GetRowCount(), 2);
    EXPECT_EQ(Row(0).strDescription, "B");
    EXPECT_EQ(m_pMain->m_nRowCount, 2);
    ExpectForm(Shown(), {"typed", "", "1:30"});
    EXPECT_TRUE(m_messages.empty());

    Mark(-1);
    Click("IDC_DELETE");
    EXPECT_EQ(Table().GetRowCount(), 2);
}

TEST_F(FormCommandsTest, EveryChangeIsOnDiskAtOnce)
{
    Type({"Backup", "2005-03-01", "1:30"});
    Click("IDC_ADD");
    EXPECT_EQ(ReadFile("kvl.dat"), "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n");
    Mark(0);
    Type({"Backup", "2005-03-01", "2:00"});
    Click("IDC_UPDATE");
    EXPECT_NE(ReadFile("kvl.dat").find("OT=2:00"), std::string::npos);
    Mark(0);
    Click("IDC_DELETE");
    EXPECT_EQ(ReadFile("kvl.dat"), "");
}

TEST_F(FormCommandsTest, InsertFieldsAsTopRowTakesWhatTheFormShows)
{
    m_pMain->m_strDescription.clear();
    m_pMain->PushFields();
    m_pMain->InsertFieldsAsTopRow();
    EXPECT_EQ(Table().GetRowCount(), 0);

    m_pMain->m_strDescription = "Loaded";
    m_pMain->m_strDate.clear();
    m_pMain->m_strOvertime = "1";
    m_pMain->PushFields();
    m_pMain->InsertFieldsAsTopRow();
    ASSERT_EQ(Table().GetRowCount(), 1);
    EXPECT_EQ(Row(0), (EntryRow{"Loaded", "", "1:00"}));
    EXPECT_EQ(m_pMain->m_strOvertime, "1:00");
}

TEST(MessageTextTest, LineBreaksShowWithoutAStrayCharacter)
{
    EXPECT_EQ(CToolkit::ToMessageText("Name Blank.\r\nNo entry added."), "Name Blank.\nNo entry added.");
    EXPECT_EQ(CToolkit::ToMessageText("a\rb\n"), "a\rb\n");  // only the pair is a line break
    EXPECT_EQ(CToolkit::ToMessageText("\xc3\x9c" "berstunden"), wxString::FromUTF8("\xc3\x9c" "berstunden"));
}
