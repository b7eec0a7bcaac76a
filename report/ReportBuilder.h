// The Report command: fills the two templates with the entry table and writes "report.htm".
#pragma once

#include <string>

class CMainDialog;

class CReportBuilder
{
public:
    explicit CReportBuilder(CMainDialog& dialog) : m_dialog(dialog) {}

    void BuildReport();
    // The file's whole text; an empty text, after a message, when it cannot be opened.
    std::string ReadTextFile(const std::string& strName);
    // 1 on success; -1, after a message, when the file could not be written completely.
    int WriteTextFile(const std::string& strName, const std::string& strText);

private:
    CMainDialog& m_dialog;
};
