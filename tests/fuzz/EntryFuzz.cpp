// libFuzzer target: any bytes as the entry data file, as a whole text and through the real file
// path (some of them placed past the 64 KiB read buffer), must pass both oracles.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "tests/fuzz/EntryFileOracle.h"
#include "tests/fuzz/EntryRoundTrip.h"

namespace
{
std::string g_strFolder;

// Emptied and removed when the run ends, so that runs leave nothing behind.
void RemoveFolder()
{
    for (const std::string& strName : entry_oracle::Names(g_strFolder))
        unlink((g_strFolder + "/" + strName).c_str());
    rmdir(g_strFolder.c_str());
}

// A folder in memory where there is one: every input is saved several times.
std::string MakeFolder()
{
    const char* pszTmp = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::getenv("TMPDIR");
    std::string strTemplate = std::string(pszTmp && *pszTmp ? pszTmp : "/tmp") + "/vantrell-fuzz-XXXXXX";
    if (!mkdtemp(&strTemplate[0]))
    {
        std::perror("mkdtemp");
        std::abort();
    }
    g_strFolder = strTemplate;
    std::atexit(RemoveFolder);
    return strTemplate;
}

void Fail(const char* pszWhat, const std::string& strProblem)
{
    std::fprintf(stderr, "%s failed: %s\n", pszWhat, strProblem.c_str());
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static const std::string s_strFolder = MakeFolder();
    std::string strBytes(reinterpret_cast<const char*>(pData), nSize);
    std::string strProblem = CheckEntryRoundTrip(strBytes);
    if (!strProblem.empty())
        Fail("round trip", strProblem);
    // One input in 32: each costs as much as 40 small ones.
    if (nSize > 0 && (pData[0] & 31) == 31)
        strBytes = PastTheReadBuffer(strBytes, pData[nSize - 1]);
    strProblem = CheckEntryFilePath(strBytes, s_strFolder);
    if (!strProblem.empty())
        Fail("file path", strProblem);
    return 0;
}
