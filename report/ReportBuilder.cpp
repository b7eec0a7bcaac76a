// The Report command on the main window.
#include "report/ReportBuilder.h"

#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "report/ReportFill.h"
#include "report/ShippedTemplates.h"
#include "res/ProductInfo.h"
#include "storage/TextFile.h"
#include "storage/TextFileIo.h"

#include <wx/intl.h>

namespace
{
// A template that is missing comes from the copy shipped with the program, so a report from a new
// folder has its proper look. True when the template had to be created empty instead.
bool CreateMissingTemplate(const std::string& strName)
{
    if (!IsMissingFile(strName))
        return false;
    ShippedTemplatePlaces places;
    places.strExecutable = CToolkit::GetExecutablePath();
    places.strBuildDir = VANTRELL_BUILD_DIR;
    places.strSourceDir = VANTRELL_SOURCE_TEMPLATES_DIR;
    const std::string strShipped = FindShippedTemplate(places, strName);
    return strShipped.empty() || !CopyToNewFile(strShipped, strName);
}

std::string EmptyTemplatesNote(const std::string& strNames)
{
    return wxString::Format(_("No shipped copy of the report templates was found, so the following "
                              "were created empty in the folder %s:\n%s\nThe report takes its look "
                              "from them: fill them in and make the report again."),
                            wxString::FromUTF8(CurrentFolder()), wxString::FromUTF8(strNames))
        .utf8_string();
}
}  // namespace

void CReportBuilder::BuildReport()
{
    m_dialog.RefreshRowCount();
    std::string strCreatedEmpty;
    const std::string strPage = ReadTemplate("ReportOutside.htm", strCreatedEmpty);
    const std::string strRow = ReadTemplate("ReportInside.htm", strCreatedEmpty);

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

    std::string strQuestion =
        wxString::Format(_("Your Page Has Been Generated.\nYour page was written to:\n%s\nWould you like to view it?"),
                         wxString::FromUTF8(m_dialog.m_strReportPath))
            .utf8_string();
    if (!strCreatedEmpty.empty())
        strQuestion = EmptyTemplatesNote(strCreatedEmpty) + "\n\n" + strQuestion;
    if (CToolkit::AppMessageBox(strQuestion, EMessageButtons::YesNo) == EMessageAnswer::Yes)
        CToolkit::ShellOpen(m_dialog.m_strReportPath);
}

std::string CReportBuilder::ReadTemplate(const std::string& strName, std::string& strCreatedEmpty)
{
    const bool bCreateEmpty = CreateMissingTemplate(strName);
    const std::string strText = ReadTextFile(strName);
    // Reading creates a missing file empty; said only where that worked.
    if (bCreateEmpty && !IsMissingFile(strName))
        strCreatedEmpty += (strCreatedEmpty.empty() ? "" : "\n") + strName;
    return strText;
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
