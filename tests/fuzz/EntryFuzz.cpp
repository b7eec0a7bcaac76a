// libFuzzer target: any bytes as the entry data file must load, save and load again unchanged.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/EntryRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strProblem = CheckEntryRoundTrip(std::string(reinterpret_cast<const char*>(pData), nSize));
    if (!strProblem.empty())
    {
        std::fprintf(stderr, "round trip failed: %s\n", strProblem.c_str());
        std::abort();
    }
    return 0;
}
