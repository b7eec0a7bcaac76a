// Replays the fuzzer's seed corpus through the same oracles in the ordinary test run: the whole
// text's round trip, and the real file path, once as it stands and once past the read buffer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "StorageTestDir.h"
#include "tests/fuzz/EntryFileOracle.h"
#include "tests/fuzz/EntryRoundTrip.h"

namespace
{
class StorageFuzzCorpus : public CStorageDirTest
{
};
}  // namespace

TEST_F(StorageFuzzCorpus, EveryCorpusFilePasses)
{
    const std::filesystem::path corpus = std::filesystem::path(__FILE__).parent_path() / ".." / "fuzz" / "corpus";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    int nFiles = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus))
    {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string strBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(CheckEntryRoundTrip(strBytes), "");
        EXPECT_EQ(CheckEntryFilePath(strBytes, m_strDir), "");
        for (unsigned nShift : {0u, 1u, 7u, 100u})
            EXPECT_EQ(CheckEntryFilePath(PastTheReadBuffer(strBytes, nShift), m_strDir), "") << nShift;
        ++nFiles;
    }
    EXPECT_GT(nFiles, 0);
}
