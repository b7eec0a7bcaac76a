// The Report command on the main window.
#include "report/ReportBuilder.h"

#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "report/ReportFill.h"
#include "res/ProductInfo.h"
#include "storage/TextFileIo.h"

void CReportBuilder::BuildReport()
{
    m_dialog.RefreshRowCount();
    const std::string strPage = ReadTextFile("ReportOutside.htm");
    const std::string strRow = ReadTextFile("ReportInside.htm");

    const CEntryTable& table = m_dialog.m_listEntries;
    const std::string strReport =
        FillReport(strPage, strRow, static_cast<size_t>(m_dialog.m_nRowCount),
                   [&table](size_t i) -> const EntryRow& { return table.GetRow(static_cast<int>(i)); },
                   kWebAddress);
    // Every row passes through the form on its way into the report; only the last one stays there,
    // so only that one is shown.
    if (m_dialog.m_nRowCount > 0)
        m_dialog.RowToFields(m_dialog.m_nRowCount - 1);

    if (m_dialog.m_strReportPath.empty())
        m_dialog.m_strReportPath = "report.htm";
    if (WriteTextFile(m_dialog.m_strReportPath, strReport) < 0)
        return;

    const std::string strQuestion = "Your Page Has Been Generated.\nYour page was written to:\n" +
                                    m_dialog.m_strReportPath + "\nWould you like to view it?";
    if (CToolkit::AppMessageBox(strQuestion, EMessageButtons::YesNo) == EMessageAnswer::Yes)
        CToolkit::ShellOpen(m_dialog.m_strReportPath);
}

std::string CReportBuilder::ReadTextFile(const std::string& strName)
{
    std::string strText;
    if (!::ReadTextFile(strName, strText))
        CToolkit::MainMessageBox(&m_dialog, "Error loading file", "Error");
    return strText;
}

int CReportBuilder::WriteTextFile(const std::string& strName, const std::string& strText)
{
    if (!::WriteTextFile(strName, strText))
    {
        CToolkit::MainMessageBox(&m_dialog, "Save to File", "Error Saving File.");
        return -1;
    }
    return 1;
}

void CMainDialog::OnReport(wxCommandEvent&)
{
    PullFields();
    CReportBuilder(*this).BuildReport();
    PushFields();
}
