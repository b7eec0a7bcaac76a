// The main window as it opens and closes: layout, field exchange, the table's operations.
#include "tests/gui/GuiTest.h"

#include "app/App.h"
#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"

#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <sys/stat.h>

namespace
{
struct ControlCase
{
    const char* pszName;  // XRC name; nullptr for the labels, found by their text
    const char* pszText;
    int x, y, nWidth, nHeight;
};

// The layout in dialog units at the window's least size, in tab order.
const ControlCase kControls[] = {
    {"wxID_OK", "Quit", 255, 7, 50, 14},
    {"IDC_LIST", nullptr, 7, 36, 244, 88},
    {"IDC_SELECT_DATE", "Select", 117, 6, 38, 14},
    {nullptr, "Date:", 11, 9, 18, 8},
    {"IDC_DATE", "", 47, 6, 69, 14},
    {nullptr, "OT:", 162, 9, 13, 8},
    {"IDC_OVERTIME", "", 183, 7, 68, -1},
    {nullptr, "Description:", 7, 24, 38, 8},
    {"IDC_DESCRIPTION", "", 47, 21, 204, 14},
    {"IDC_ADD", "Add", 255, 22, 50, 14},
    {"IDC_DELETE", "Delete", 255, 37, 50, 14},
    {"IDC_UPDATE", "Update", 255, 51, 50, 14},
    {"IDC_CLEAR", "Clear", 255, 65, 50, 14},
    {"IDC_TITLE_LINE", "Vantrell- v1.02 - Overtime Report Tool", 7, 138, 269, 8},
    {"IDC_HELP_PAGE", "Help", 255, 106, 50, 14},
    {"IDC_REPORT", "Report", 255, 86, 50, 14},
    {"IDC_STATUS_LINE", nullptr, 7, 126, 244, 8},
};

// The sizers convert each gap and size on its own, so a position may be a few pixels off the
// conversion of the sum.
const int kRounding = 3;

void ExpectNear(const wxPoint& actual, const wxPoint& expected)
{
    EXPECT_NEAR(actual.x, expected.x, kRounding);
    EXPECT_NEAR(actual.y, expected.y, kRounding);
}

wxTextCtrl* Edit(CMainDialog& dialog, const char* pszName)
{
    return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID(pszName)));
}

wxComboBox* Combo(CMainDialog& dialog)
{
    return dynamic_cast<wxComboBox*>(dialog.FindWindow(XRCID("IDC_OVERTIME")));
}
}  // namespace

class MainWindowTest : public GuiTest
{
};

TEST_F(MainWindowTest, OpensWithTheLayoutInDialogUnits)
{
    CMainDialog& dialog = OpenMain();
    EXPECT_EQ(dialog.GetTitle(), "Vantrell");
    // The template's size, or a few pixels wider where this desktop's font needs them to show a
    // label whole.
    const wxSize least = dialog.ConvertDialogToPixels(wxSize(312, 147));
    EXPECT_EQ(dialog.GetClientSize().GetHeight(), least.GetHeight());
    EXPECT_GE(dialog.GetClientSize().GetWidth(), least.GetWidth());
    EXPECT_LE(dialog.GetClientSize().GetWidth(), least.GetWidth() + dialog.ConvertDialogToPixels(wxSize(4, 0)).GetWidth());

    const wxWindowList& children = dialog.GetChildren();
    ASSERT_EQ(children.size(), std::size(kControls));
    size_t i = 0;
    for (wxWindow* pChild : children)
    {
        const ControlCase& expected = kControls[i++];
        SCOPED_TRACE(expected.pszText ? expected.pszText : expected.pszName);
        if (expected.pszName)
        {
            EXPECT_EQ(pChild->GetId(), XRCID(expected.pszName));
        }
        if (expected.pszText && !dynamic_cast<wxTextEntry*>(pChild))
        {
            EXPECT_EQ(pChild->GetLabel(), expected.pszText);
        }
        ExpectNear(pChild->GetPosition(), dialog.ConvertDialogToPixels(wxPoint(expected.x, expected.y)));
        const wxSize size = dialog.ConvertDialogToPixels(wxSize(expected.nWidth, expected.nHeight));
        EXPECT_NEAR(pChild->GetSize().GetWidth(), size.GetWidth(), kRounding);
        if (expected.nHeight > 0)
        {
            EXPECT_NEAR(pChild->GetSize().GetHeight(), size.GetHeight(), kRounding);
        }
    }
    EXPECT_TRUE(Edit(dialog, "IDC_DATE")->HasFlag(wxTE_READONLY));
    auto* pQuit = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
    EXPECT_EQ(dialog.GetDefaultItem(), pQuit);
}

TEST_F(MainWindowTest, OvertimeListHoldsTheQuarterHours)
{
    CMainDialog& dialog = OpenMain();
    wxComboBox* pCombo = Combo(dialog);
    ASSERT_EQ(pCombo->GetCount(), 48u);
    for (unsigned i = 0; i < 48; ++i)
    {
        const unsigned nMinutes = (i + 1) * 15;
        EXPECT_EQ(pCombo->GetString(i), wxString::Format("%u:%02u", nMinutes / 60, nMinutes % 60));
    }
}

TEST_F(MainWindowTest, ListHasItsThreeColumns)
{
    CMainDialog& dialog = OpenMain();
    CEntryListCtrl* pList = dialog.m_listEntries.GetListCtrl();
    ASSERT_EQ(pList->GetColumnCount(), 3u);
    const char* titles[] = {"Description", "Date", "Overtime"};
    for (unsigned i = 0; i < 3; ++i)
    {
        EXPECT_EQ(pList->GetColumn(i)->GetTitle(), titles[i]);
        EXPECT_FALSE(pList->GetColumn(i)->IsSortable());  // the list is never sorted
    }
    EXPECT_FALSE(pList->HasFlag(wxDV_MULTIPLE));
    EXPECT_EQ(dialog.m_listEntries.GetRowCount(), 0);
    EXPECT_EQ(dialog.m_listEntries.GetMarkedRow(), -1);
}

TEST_F(MainWindowTest, PushCompletesTheOvertimeFromItsList)
{
    CMainDialog& dialog = OpenMain();
    const struct
    {
        const char* pszBuffer;
        const char* pszShown;
    } cases[] = {
        {"1", "1:00"}, {"1:3", "1:30"}, {"10", "10:00"}, {"0", "0:15"},   {"1:5", "1:5"},
        {"13:00", "13:00"}, {"2h", "2h"}, {"", ""},      {"12:0", "12:00"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.pszBuffer);
        dialog.m_strDescription = "typed";
        dialog.m_strOvertime = c.pszBuffer;
        dialog.PushFields();
        EXPECT_EQ(dialog.m_strOvertime, c.pszBuffer);  // the buffer keeps its text
        dialog.PullFields();
        EXPECT_EQ(dialog.m_strOvertime, c.pszShown);
        EXPECT_EQ(dialog.m_strDescription, "typed");
    }
}

TEST_F(MainWindowTest, TableOperationsKeepRowsInOrder)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    for (const char* psz : {"E", "D", "C", "B", "A"})
    {
        table.InsertTopRow(psz);
        table.SetCellText(0, 1, std::string(psz) + "-date");
    }
    EXPECT_EQ(table.GetCellText(0, 0), "A");
    EXPECT_EQ(table.GetCellText(1, 0), "B");

    dialog.ReverseRows();
    std::string strOrder;
    for (int i = 0; i < table.GetRowCount(); ++i)
        strOrder += table.GetCellText(i, 0);
    EXPECT_EQ(strOrder, "EDCBA");
    EXPECT_EQ(table.GetCellText(0, 1), "E-date");
    dialog.ReverseRows();
    EXPECT_EQ(table.GetCellText(0, 0), "A");
    EXPECT_EQ(table.GetCellText(4, 1), "E-date");

    table.DeleteRow(0);
    EXPECT_EQ(table.GetRowCount(), 4);
    EXPECT_EQ(table.GetCellText(0, 0), "B");

    // Indexes that name no row read as empty and change nothing.
    for (int nRow : {-1, 4, 1000})
    {
        EXPECT_EQ(table.GetCellText(nRow, 0), "");
        table.SetCellText(nRow, 0, "x");
        table.DeleteRow(nRow);
    }
    EXPECT_EQ(table.GetRowCount(), 4);

    const std::string strLong(700, 'w');
    table.SetCellText(2, 2, strLong);
    EXPECT_EQ(table.GetCellText(2, 2), strLong);
}

TEST_F(MainWindowTest, ReverseRowsOnSmallTables)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    dialog.ReverseRows();  // empty
    EXPECT_EQ(table.GetRowCount(), 0);
    table.InsertTopRow("only");
    dialog.ReverseRows();
    EXPECT_EQ(table.GetCellText(0, 0), "only");
    table.InsertTopRow("");  // empty texts move like any other
    dialog.ReverseRows();
    EXPECT_EQ(table.GetCellText(0, 0), "only");
    EXPECT_EQ(table.GetCellText(1, 0), "");
    EXPECT_EQ(dialog.m_nRowCount, 2);
}

TEST_F(MainWindowTest, SelectionMarkFollowsItsEntry)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    for (const char* psz : {"C", "B", "A"})
        table.InsertTopRow(psz);
    table.GetListCtrl()->MoveSelectionMark(1);  // "B"
    table.InsertTopRow("new");
    EXPECT_EQ(table.GetCellText(table.GetMarkedRow(), 0), "B");
    table.DeleteRow(0);
    EXPECT_EQ(table.GetCellText(table.GetMarkedRow(), 0), "B");
    table.DeleteRow(table.GetMarkedRow());
    EXPECT_EQ(table.GetMarkedRow(), -1);  // a deleted entry leaves no mark on its neighbour
}

TEST_F(MainWindowTest, ColumnsFitTheirWidestTextAndTheLastReachesTheEdge)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    CEntryListCtrl* pList = table.GetListCtrl();
    const auto width = [pList](int nColumn) { return pList->GetColumnWidth(nColumn); };
    const auto reachesTheEdge = [&] { return width(0) + width(1) + width(2) == pList->GetRowsWidth(); };
    const auto widths = [&] {
        return std::to_string(width(0)) + " " + std::to_string(width(1)) + " " + std::to_string(width(2)) +
               " of " + std::to_string(pList->GetRowsWidth());
    };
    const auto textWidth = [pList](const std::string& strText) {
        return pList->GetTextExtent(wxString::FromUTF8(strText)).GetWidth();
    };

    // Empty: the first two as wide as their titles, the last takes the rest.
    ASSERT_TRUE(WaitFor(reachesTheEdge)) << widths();
    const int nTitle0 = width(0);
    EXPECT_EQ(nTitle0, pList->GetTitleWidth(0));
    EXPECT_EQ(width(1), pList->GetTitleWidth(1));
    EXPECT_GT(nTitle0, textWidth("Description"));

    const std::string strLong = "Backup of the mail server";
    table.InsertTopRow(strLong);
    table.SetCellText(0, 1, "2026-12-11");
    table.AutosizeColumns();
    EXPECT_TRUE(WaitFor([&] { return width(0) > textWidth(strLong) && reachesTheEdge(); })) << widths();
    EXPECT_GE(width(1), textWidth("2026-12-11"));

    // A description wider than the list gives way, so Date and Overtime stay in view.
    table.SetCellText(0, 0, std::string(250, 'W'));
    table.AutosizeColumns();
    EXPECT_TRUE(WaitFor([&] { return width(0) > textWidth(strLong) && reachesTheEdge(); })) << widths();
    EXPECT_GE(width(2), pList->GetTitleWidth(2));
    EXPECT_LT(width(0), textWidth(std::string(250, 'W')));

    // When the widest row goes, the column shrinks back to its title.
    table.DeleteRow(0);
    table.AutosizeColumns();
    EXPECT_TRUE(WaitFor([&] { return width(0) == nTitle0 && reachesTheEdge(); })) << widths();
}

TEST_F(MainWindowTest, ClosingPathsEndTheRunAndSaveTheSameTable)
{
    const struct
    {
        const char* pszPath;
        std::function<void(CMainDialog&)> close;
        int nCode;
    } paths[] = {
        {"Quit", [](CMainDialog& d) { wxCommandEvent e(wxEVT_BUTTON, wxID_OK); d.ProcessWindowEvent(e); }, wxID_OK},
        {"Esc", [](CMainDialog& d) { wxKeyEvent e(wxEVT_CHAR_HOOK); e.m_keyCode = WXK_ESCAPE; d.ProcessWindowEvent(e); }, wxID_CANCEL},
        {"close box", [](CMainDialog& d) { d.Close(); }, wxID_CANCEL},
    };
    std::string strFirst;
    for (const auto& path : paths)
    {
        SCOPED_TRACE(path.pszPath);
        WriteFile("kvl.dat", "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n");
        CMainDialog& dialog = OpenMain();
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(XRCID("IDC_DESCRIPTION")))->ChangeValue("typed, not added");
        path.close(dialog);
        EXPECT_EQ(dialog.GetReturnCode(), path.nCode);
        EXPECT_FALSE(dialog.IsShown());
        CloseMain();
        const std::string strSaved = ReadFile("kvl.dat");
        EXPECT_EQ(strSaved.find("typed"), std::string::npos);
        if (strFirst.empty())
            strFirst = strSaved;
        EXPECT_EQ(strSaved, strFirst);
    }
}

TEST_F(MainWindowTest, FailedSocketStartShowsOnlyTheMessage)
{
    ToolkitHooks hooks;
    hooks.onStartSockets = [] { return false; };
    hooks.onMessageBox = [this](const MessageBoxRequest& request) {
        m_messages.push_back(request);
        return EMessageAnswer::Ok;
    };
    bool bRan = false;
    hooks.onRunModal = [&bRan](wxDialog&) {
        bRan = true;
        return static_cast<int>(wxID_OK);
    };
    CToolkit::SetHooks(hooks);

    wxAppConsole* pRunning = wxApp::GetInstance();
    {
        COvertimeApp app;  // not the running application: only its start-up step is used
        EXPECT_FALSE(app.InitInstance());
    }
    wxApp::SetInstance(pRunning);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].strText, "Windows sockets initialization failed.");
    EXPECT_EQ(m_messages[0].strCaption, "vantrell_gui_tests");
    EXPECT_TRUE(m_messages[0].bExclamation);
    EXPECT_FALSE(bRan);
    struct stat info;
    EXPECT_NE(stat("kvl.dat", &info), 0);
}
