// CTextFile: one text file read or written a character at a time, CR LF on disk, LF inside.
#pragma once

#include <string>
#include <vector>

#include "storage/SafeFile.h"

class CTextFile
{
public:
    CTextFile() = default;
    ~CTextFile();
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;

    // A missing file is created empty. Fails for a directory or any other file that is not a
    // regular file, and where no file can be created (never created through a dangling link).
    bool OpenForReading(const std::string& strName);
    // Creates the file or empties it. Fails for a file whose mode has no write bit at all, whoever
    // runs the tool (root would otherwise write over a read-only file), and for non-regular files.
    bool OpenForWriting(const std::string& strName);
    // Writes like OpenForWriting, but into a new file beside the named one that Close puts in its
    // place (synced, then renamed): until then, and whenever anything failed, the former file stays
    // whole and no partial file is left. Refused where a safe replacement is (see SafeFile.h).
    bool OpenForReplacing(const std::string& strName);

    // Reading: every byte read from the file is also appended to *pBytes, and Close reads on to the
    // file's end (past a Ctrl-Z), so that *pBytes ends up holding the whole file. Right after the open.
    void CopyBytesTo(std::string* pBytes);

    // The next character, false at the end of the text: CR LF comes as LF, the first Ctrl-Z ends
    // the text, a read error looks like the end.
    bool ReadChar(char& c);
    // LF goes to disk as CR LF. After a failed write everything else is dropped.
    void WriteChar(char c);

    // Writes out the buffer and releases the file (replacing: puts the new file in place). False
    // when a write, the close or the replacement failed, or on the reading side a read failed,
    // since the open; a closed object gives true.
    bool Close();

private:
    enum class EMode { Closed, Reading, Writing, Replacing };

    bool FillBuffer();
    bool FlushBuffer();
    void Reset();

    std::string m_strName;
    EMode m_eMode = EMode::Closed;
    int m_nFd = -1;
    bool m_bAtEnd = false;   // reading: the end has been reported and stays
    bool m_bFailed = false;  // writing: a write failed, the rest is dropped; reading: a read failed
    std::string* m_pCopy = nullptr;
    CFileReplacement m_replacement;
    std::vector<char> m_buffer;
    size_t m_nPos = 0;  // reading: next byte; writing: bytes held
    size_t m_nEnd = 0;  // reading: bytes held
};

// The text that CTextFile delivers for a file holding these bytes.
std::string DecodeTextBytes(const std::string& strBytes);
