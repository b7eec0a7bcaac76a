// Whole-text helpers over CTextFile.
#include "storage/TextFileIo.h"

#include "storage/TextFile.h"

bool ReadTextFile(const std::string& strName, std::string& strText)
{
    strText.clear();
    CTextFile file;
    if (!file.OpenForReading(strName))
        return false;
    char c;
    while (file.ReadChar(c))
        strText += c;
    file.Close();
    return true;
}

bool WriteTextFile(const std::string& strName, const std::string& strText)
{
    CTextFile file;
    if (!file.OpenForWriting(strName))
        return false;
    for (char c : strText)
        file.WriteChar(c);
    return file.Close();
}
