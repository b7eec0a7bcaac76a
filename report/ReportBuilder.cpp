// The Report command on the main window.
#include "report/ReportBuilder.h"

#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "report/ReportFill.h"
#include "res/ProductInfo.h"
#include "storage/TextFile.h"
#include "storage/TextFileIo.h"

void CReportBuilder::BuildReport()
{
    m_dialog.RefreshRowCount();
    const std::string strPage = ReadTextFile("ReportOutside.htm");
    const std::string strRow = ReadTextFile("ReportInside.htm");

    // Every row passes through the form on its way into the report; only the last one stays there,
    // so only that one is shown.
    const int nRows = m_dialog.m_nRowCount;
    if (nRows > 0)
        m_dialog.RowToFields(nRows - 1);

    if (m_dialog.m_strReportPath.empty())
        m_dialog.m_strReportPath = "report.htm";
    const CEntryTable& table = m_dialog.m_listEntries;
    const int nWritten = WriteTextFile(m_dialog.m_strReportPath, [&](const TextSink& sink) {
        WriteReport(strPage, strRow, static_cast<size_t>(nRows),
                    [&table](size_t i) -> const EntryRow& { return table.GetRow(static_cast<int>(i)); },
                    kWebAddress, sink);
    });
    if (nWritten < 0)
        return;

    const std::string strQuestion =
        wxString::Format(_("Your Page Has Been Generated.\nYour page was written to:\n%s\nWould you like to view it?"),
                         wxString::FromUTF8(m_dialog.m_strReportPath))
            .utf8_string();
    if (CToolkit::AppMessageBox(strQuestion, EMessageButtons::YesNo) == EMessageAnswer::Yes)
        CToolkit::ShellOpen(m_dialog.m_strReportPath);
}

std::string CReportBuilder::ReadTextFile(const std::string& strName)
{
    std::string strText;
    if (!::ReadTextFile(strName, strText))
        CToolkit::MainMessageBox(&m_dialog, _("Error loading file").utf8_string(), _("Error").utf8_string());
    return strText;
}

int CReportBuilder::WriteTextFile(const std::string& strName, const TextProducer& produce)
{
    CTextFile file;
    // The former report stays whole until the new one is complete on disk.
    bool bWritten = file.OpenForReplacing(strName);
    if (bWritten)
    {
        produce([&file](std::string_view text) {
            for (char c : text)
                file.WriteChar(c);
        });
        // A report that did not reach the disk whole is not reported as written.
        bWritten = file.Close();
    }
    if (!bWritten)
    {
        CToolkit::MainMessageBox(&m_dialog, _("Save to File").utf8_string(), _("Error Saving File.").utf8_string());
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
