// Replays the fuzzer's seed corpus through the same round-trip check in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/EntryRoundTrip.h"

TEST(StorageFuzzCorpus, EveryCorpusFileRoundTrips)
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
        ++nFiles;
    }
    EXPECT_GT(nFiles, 0);
}
