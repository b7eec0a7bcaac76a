// The window that shows the log: it grows, its list shows very long texts shortened, and the line
// under the list keeps the entries' count and total.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"
#include "entries/EntryListCtrl.h"
#include "entries/ListText.h"
#include "report/ReportFill.h"

#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

namespace
{
class ListWindowTest : public GuiTest
{
protected:
    wxWindow* Control(const char* pszName) { return m_pMain->FindWindow(XRCID(pszName)); }
    std::string StatusLine()
    {
        return dynamic_cast<wxStaticText*>(Control("IDC_STATUS_LINE"))->GetLabel().utf8_string();
    }
    // The report's #VALUE# for the window's rows.
    std::string ReportValue()
    {
        const CEntryTable& table = m_pMain->m_listEntries;
        std::string strPage;
        WriteReport("#VALUE#", "", static_cast<size_t>(table.GetRowCount()),
                    [&table](size_t i) -> const EntryRow& { return table.GetRow(static_cast<int>(i)); },
                    "", [&strPage](std::string_view text) { strPage += text; });
        return strPage;
    }
    std::string Shown(int nRow, int nColumn)
    {
        CEntryListCtrl* pList = m_pMain->m_listEntries.GetListCtrl();
        wxVariant value;
        pList->GetModel()->GetValue(value, wxDataViewItem(wxUIntToPtr(nRow + 1)), static_cast<unsigned>(nColumn));
        return value.GetString().utf8_string();
    }
};
}  // namespace

TEST_F(ListWindowTest, GrowsFromTheTemplateSizeWithTheButtonsAtTheRightEdge)
{
    CMainDialog& dialog = OpenMain();
    const wxSize least = dialog.GetClientSize();
    EXPECT_EQ(dialog.GetMinClientSize(), least);
    EXPECT_TRUE(dialog.HasFlag(wxRESIZE_BORDER));
    EXPECT_TRUE(dialog.HasFlag(wxMAXIMIZE_BOX));

    wxWindow* pList = Control("IDC_LIST");
    wxWindow* pQuit = Control("wxID_OK");
    wxWindow* pHelp = Control("IDC_HELP_PAGE");
    wxWindow* pTitle = Control("IDC_TITLE_LINE");
    wxWindow* pStatus = Control("IDC_STATUS_LINE");
    const wxRect list = pList->GetRect();
    const int nQuitToEdge = least.GetWidth() - pQuit->GetRect().GetRight();
    const int nTitleToBottom = least.GetHeight() - pTitle->GetPosition().y;
    const int nQuitTop = pQuit->GetPosition().y;

    const wxSize grown = least + wxSize(300, 200);
    dialog.SetClientSize(grown);
    dialog.Layout();
    EXPECT_EQ(pList->GetPosition(), list.GetPosition());
    EXPECT_EQ(pList->GetSize(), list.GetSize() + wxSize(300, 200));
    EXPECT_EQ(grown.GetWidth() - pQuit->GetRect().GetRight(), nQuitToEdge);
    EXPECT_EQ(grown.GetWidth() - pHelp->GetRect().GetRight(), nQuitToEdge);
    EXPECT_EQ(pQuit->GetPosition().y, nQuitTop);  // the buttons stay at the top
    EXPECT_EQ(grown.GetHeight() - pTitle->GetPosition().y, nTitleToBottom);
    EXPECT_GT(pStatus->GetPosition().y, pList->GetRect().GetBottom());  // right under the list
    EXPECT_LT(pStatus->GetPosition().y, pTitle->GetPosition().y);

    // Never smaller than the template.
    dialog.SetClientSize(least - wxSize(100, 50));
    EXPECT_GE(dialog.GetClientSize().GetWidth(), least.GetWidth());
    EXPECT_GE(dialog.GetClientSize().GetHeight(), least.GetHeight());
}

TEST_F(ListWindowTest, LineUnderTheListKeepsTheCountAndTheReportsTotal)
{
    WriteFile("kvl.dat", "CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n\r\n"
                         "DESCRIPTION=Server move\r\nOT=2\r\nDATE=2005-03-02\r\n");
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    EXPECT_EQ(StatusLine(), "2 entries, total 3:30");

    // Texts that are no duration count as the report counts them.
    const struct
    {
        const char* pszStep;
        std::function<void()> change;
        const char* pszLine;
    } steps[] = {
        {"add", [&] { table.InsertTopRow(EntryRow{"Odd", "", "1.5"}); }, "3 entries, total 4:30"},
        {"update", [&] { table.SetCellText(0, 2, "-1:00"); }, "3 entries, total 2:30"},
        {"insert", [&] { table.InsertRow(3, EntryRow{"Old", "", "abc"}); }, "4 entries, total 2:30"},
        {"delete", [&] { table.DeleteRow(1); }, "3 entries, total 0:30"},
        {"delete all", [&] { while (table.GetRowCount() > 1) table.DeleteRow(0); }, "1 entry, total 0:00"},
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE(step.pszStep);
        step.change();
        EXPECT_EQ(StatusLine(), step.pszLine);
        EXPECT_NE(StatusLine().find(", total " + ReportValue()), std::string::npos);
    }
}

TEST_F(ListWindowTest, RowsGoInAtTheirPlaceAndTheMarkFollows)
{
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    for (const char* psz : {"C", "A"})
        table.InsertTopRow(psz);
    table.GetListCtrl()->MoveSelectionMark(1);  // "C"
    table.InsertRow(1, EntryRow{"B", "", ""});
    table.InsertRow(99, EntryRow{"D", "", ""});  // beyond the rows: appended
    table.InsertRow(-5, EntryRow{"top", "", ""});
    std::string strOrder;
    for (int i = 0; i < table.GetRowCount(); ++i)
        strOrder += table.GetCellText(i, 0) + " ";
    EXPECT_EQ(strOrder, "top A B C D ");
    EXPECT_EQ(table.GetCellText(table.GetMarkedRow(), 0), "C");
}

TEST_F(ListWindowTest, VeryLongTextsAreKeptWholeAndShownShortened)
{
    const std::string strHuge(1u << 20, 'x');  // a megabyte: the form's own field lays out all of it
    WriteFile("kvl.dat", "CREATOR=KVL 1.0\r\nDESCRIPTION=" + strHuge + "\r\nOT=1:30\r\nDATE=2005-03-01\r\n\r\n" +
                             "DESCRIPTION=Short\r\nOT=0:15\r\nDATE=" + std::string(400, '9') + "\r\n");
    CMainDialog& dialog = OpenMain();
    CEntryTable& table = dialog.m_listEntries;
    ASSERT_EQ(table.GetRowCount(), 2);
    EXPECT_EQ(table.GetCellText(1, 0).size(), strHuge.size());
    EXPECT_EQ(Shown(1, 0), ListText(strHuge));
    EXPECT_EQ(Shown(0, 1), ListText(std::string(400, '9')));
    EXPECT_EQ(Shown(0, 0), "Short");

    // The column gives way to Date and Overtime; the form shows the whole text.
    CEntryListCtrl* pList = table.GetListCtrl();
    EXPECT_LE(pList->GetColumnWidth(0), pList->GetRowsWidth());
    table.GetListCtrl()->MoveSelectionMark(1);
    ClickList();
    EXPECT_EQ(dialog.m_strDescription.size(), strHuge.size());
    CloseMain();
    EXPECT_NE(ReadFile("kvl.dat").find("DESCRIPTION=" + strHuge + "\r\n"), std::string::npos);
}
