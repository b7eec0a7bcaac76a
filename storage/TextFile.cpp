// CTextFile over POSIX file descriptors with a 64 KiB buffer.
#include "storage/TextFile.h"

#include "storage/FileOps.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const size_t BUFFER_SIZE = 64 * 1024;
const char CTRL_Z = 26;

// O_NONBLOCK keeps a FIFO from hanging the open; it is refused right after anyway.
int OpenRegular(const std::string& strName, int nFlags)
{
    int nFd = -1;
    for (int nTry = 0; nTry < 2 && nFd < 0; ++nTry)
    {
        nFd = open(strName.c_str(), nFlags | O_CLOEXEC | O_NONBLOCK);
        if (nFd < 0 && errno == ENOENT)
        {
            // O_EXCL: never create a file through a dangling symbolic link.
            nFd = open(strName.c_str(), nFlags | O_CREAT | O_EXCL | O_CLOEXEC | O_NONBLOCK, 0666);
            if (nFd >= 0)
                break;
            if (errno != EEXIST)
                return -1;
            struct stat st;
            if (lstat(strName.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
                return -1;
            // Someone else created it just now: open theirs.
        }
        else if (nFd < 0 && errno != EINTR)
            return -1;
    }
    if (nFd < 0)
        return -1;
    struct stat st;
    if (fstat(nFd, &st) != 0 || !S_ISREG(st.st_mode))
    {
        close(nFd);
        return -1;
    }
    int nFl = fcntl(nFd, F_GETFL);
    if (nFl >= 0)
        fcntl(nFd, F_SETFL, nFl & ~O_NONBLOCK);
    return nFd;
}
}  // namespace

CTextFile::~CTextFile()
{
    Close();
}

void CTextFile::Reset()
{
    m_strName.clear();
    m_eMode = EMode::Closed;
    m_nFd = -1;
    m_bAtEnd = false;
    m_bFailed = false;
    m_pCopy = nullptr;
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    m_nPos = 0;
    m_nEnd = 0;
}

bool CTextFile::OpenForReading(const std::string& strName)
{
    Close();
    int nFd = OpenRegular(strName, O_RDONLY);
    if (nFd < 0)
        return false;
    m_strName = strName;
    m_eMode = EMode::Reading;
    m_nFd = nFd;
    m_buffer.resize(BUFFER_SIZE);
    return true;
}

bool CTextFile::OpenForWriting(const std::string& strName)
{
    Close();
    // Opened without O_TRUNC so that a file refused below keeps its content. Root passes open()
    // even without write bits, so they are looked at here.
    int nFd = OpenRegular(strName, O_WRONLY);
    if (nFd < 0)
        return false;
    struct stat st;
    if (fstat(nFd, &st) != 0 || (st.st_mode & 0222) == 0 || (st.st_size > 0 && ftruncate(nFd, 0) != 0))
    {
        close(nFd);
        return false;
    }
    m_strName = strName;
    m_eMode = EMode::Writing;
    m_nFd = nFd;
    m_buffer.resize(BUFFER_SIZE);
    return true;
}

bool CTextFile::OpenForReplacing(const std::string& strName)
{
    Close();
    // What killed replacements of this name left behind goes before a new one is begun.
    RemoveStaleTempFiles(strName);
    int nFd = m_replacement.Begin(strName);
    if (nFd < 0)
        return false;
    m_strName = strName;
    m_eMode = EMode::Replacing;
    m_nFd = nFd;
    m_buffer.resize(BUFFER_SIZE);
    return true;
}

void CTextFile::CopyBytesTo(std::string* pBytes)
{
    m_pCopy = pBytes;
    struct stat st;
    if (m_pCopy && m_eMode == EMode::Reading && fstat(m_nFd, &st) == 0 && st.st_size > 0)
        m_pCopy->reserve(m_pCopy->size() + static_cast<size_t>(st.st_size));
}

bool CTextFile::FillBuffer()
{
    for (;;)
    {
        ssize_t nRead = read(m_nFd, m_buffer.data(), m_buffer.size());
        if (nRead > 0)
        {
            m_nPos = 0;
            m_nEnd = static_cast<size_t>(nRead);
            if (m_pCopy)
                m_pCopy->append(m_buffer.data(), m_nEnd);
            return true;
        }
        if (nRead < 0 && errno == EINTR)
            continue;
        if (nRead < 0)
            m_bFailed = true;
        m_bAtEnd = true;
        return false;
    }
}

bool CTextFile::ReadChar(char& c)
{
    if (m_eMode != EMode::Reading || m_bAtEnd)
        return false;
    if (m_nPos == m_nEnd && !FillBuffer())
        return false;
    char cByte = m_buffer[m_nPos++];
    if (cByte == CTRL_Z)
    {
        m_bAtEnd = true;
        return false;
    }
    if (cByte == '\r')
    {
        // A CR at the end of the buffer needs the next block to know whether an LF follows;
        // at the end of the file the CR itself is still delivered.
        if (m_nPos == m_nEnd && !FillBuffer())
        {
            c = '\r';
            return true;
        }
        if (m_buffer[m_nPos] == '\n')
        {
            ++m_nPos;
            cByte = '\n';
        }
    }
    c = cByte;
    return true;
}

bool CTextFile::FlushBuffer()
{
    const char* pData = m_buffer.data();
    size_t nLeft = m_nPos;
    while (nLeft > 0 && !m_bFailed)
    {
        ssize_t nWritten = CurrentFileOps().pfnWrite(m_nFd, pData, nLeft);
        if (nWritten < 0 && errno == EINTR)
            continue;
        if (nWritten <= 0)
        {
            m_bFailed = true;
            break;
        }
        pData += nWritten;
        nLeft -= static_cast<size_t>(nWritten);
    }
    m_nPos = 0;
    return !m_bFailed;
}

void CTextFile::WriteChar(char c)
{
    if ((m_eMode != EMode::Writing && m_eMode != EMode::Replacing) || m_bFailed)
        return;
    if (c == '\n')
    {
        if (m_nPos + 2 > m_buffer.size() && !FlushBuffer())
            return;
        m_buffer[m_nPos++] = '\r';
        m_buffer[m_nPos++] = '\n';
        return;
    }
    if (m_nPos == m_buffer.size() && !FlushBuffer())
        return;
    m_buffer[m_nPos++] = c;
}

bool CTextFile::Close()
{
    bool bOk = true;
    switch (m_eMode)
    {
    case EMode::Closed:
        return true;
    case EMode::Reading:
        // The copy wants the bytes after the end of the text as well.
        while (m_pCopy && !m_bFailed && FillBuffer())
        {
        }
        bOk = !m_bFailed;
        CurrentFileOps().pfnClose(m_nFd);
        break;
    case EMode::Writing:
        FlushBuffer();
        bOk = !m_bFailed;
        // Linux releases the descriptor even when close() fails, so it is never retried.
        if (CurrentFileOps().pfnClose(m_nFd) != 0)
            bOk = false;
        break;
    case EMode::Replacing:
        FlushBuffer();
        bOk = !m_bFailed && m_replacement.Commit();
        m_replacement.Abandon();
        break;
    }
    Reset();
    return bOk;
}

std::string DecodeTextBytes(const std::string& strBytes)
{
    std::string strText;
    strText.reserve(strBytes.size());
    for (size_t i = 0; i < strBytes.size(); ++i)
    {
        char c = strBytes[i];
        if (c == CTRL_Z)
            break;
        if (c == '\r' && i + 1 < strBytes.size() && strBytes[i + 1] == '\n')
            continue;  // the LF that follows stands for both
        strText += c;
    }
    return strText;
}
