// The Report command: fills the two templates with the entry table and writes "report.htm".
#pragma once

#include <functional>
#include <string>
#include <string_view>

class CMainDialog;

class CReportBuilder
{
public:
    explicit CReportBuilder(CMainDialog& dialog) : m_dialog(dialog) {}

    void BuildReport();
    // A template's whole text; a missing one is first created from its shipped copy, or empty when
    // there is none, and then its name is added to the list of those created empty.
    std::string ReadTemplate(const std::string& strName, std::string& strCreatedEmpty);
    // The file's whole text; an empty text, after a message, when it cannot be opened.
    std::string ReadTextFile(const std::string& strName);
    // Writes what the producer hands to its sink, replacing the file's content; 1 on success, -1
    // after a message when the file could not be written completely.
    using TextSink = std::function<void(std::string_view)>;
    using TextProducer = std::function<void(const TextSink&)>;
    int WriteTextFile(const std::string& strName, const TextProducer& produce);

private:
    CMainDialog& m_dialog;
};
