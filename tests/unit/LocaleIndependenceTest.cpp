// The data file, durations and the report under the locales a desktop runs the tool in: the same
// bytes and values as under "C", whatever the C library's number and character rules are.
#include <gtest/gtest.h>

#include "StorageTestDir.h"
#include "report/Duration.h"
#include "report/ReportFill.h"
#include "storage/EntryFile.h"

#include <cctype>
#include <clocale>

namespace
{
const std::vector<EntryRow> TABLE = {
    {"\xC3\x9C" "berstunden f\xC3\xBCr M\xC3\xBCller", "2024-03-01", "1:30"},
    {"ERSTE \xC3\x89TAPE, \xC3\xA9tape", "2024-03-02", " 2:05"},
    {"\xC2\xA0non-breaking space\xC2\xA0", "2024-03-03", "1,5"},
    {"Latin-1 bytes \xC4\xD6\xDC\xE4\xF6\xFC\xDF\xA0", "\xA0" "2024-03-04", "-1:30"},
    {"\tleading tab", "2024-03-05", "20000:00"},
    {"1.234,5", "2024-03-06", "0:7"},
};

struct Observed
{
    std::string strFileBytes;
    std::vector<EntryRow> loaded;
    std::string strReport;
    std::vector<std::string> durations;
};

class LocaleIndependenceTest : public CStorageDirTest, public testing::WithParamInterface<const char*>
{
protected:
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        CStorageDirTest::TearDown();
    }

    // Saves, loads and reports TABLE in the current locale, and reads the file saved under "C".
    static Observed Observe(const std::string& strName, std::vector<EntryRow>* pLoadedFromC = nullptr)
    {
        Observed seen;
        CEntryFile file(strName);
        EXPECT_TRUE(file.Save(TABLE.size(), [](size_t i) -> const EntryRow& { return TABLE[i]; }));
        seen.strFileBytes = ReadBytes(strName);
        file.Load([&seen](EntryRow&& row) { seen.loaded.insert(seen.loaded.begin(), std::move(row)); });
        if (pLoadedFromC)
        {
            CEntryFile fromC("c-" + strName);
            fromC.Load([pLoadedFromC](EntryRow&& row) { pLoadedFromC->insert(pLoadedFromC->begin(), row); });
        }
        seen.strReport = FillReport("#COUNT# #VALUE# #TOTALMINS#\n#DATA#",
                                    "#OT#|#DATE#|#DESCRIPTION#|#RUNNINGTOTAL#\n", TABLE.size(),
                                    [](size_t i) -> const EntryRow& { return TABLE[i]; },
                                    "https://example.org/");
        for (const EntryRow& row : TABLE)
            seen.durations.push_back(std::to_string(ParseDuration(row.strOvertime)) + " " +
                                     FormatDuration(ParseDuration(row.strOvertime)));
        return seen;
    }
};
}  // namespace

TEST_P(LocaleIndependenceTest, SameBytesAndValuesAsUnderC)
{
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    const Observed inC = Observe("c-kvl.dat");
    EXPECT_EQ(inC.strReport.substr(0, inC.strReport.find('\n')), "6 20004:12 1200252");

    ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr)
        << "the locale " << GetParam() << " is not generated: run scripts/deps.sh";
    std::vector<EntryRow> loadedFromC;
    const Observed inLocale = Observe("kvl.dat", &loadedFromC);
    EXPECT_EQ(inLocale.strFileBytes, inC.strFileBytes);
    EXPECT_EQ(inLocale.loaded, inC.loaded);
    EXPECT_EQ(loadedFromC, inC.loaded);
    EXPECT_EQ(inLocale.strReport, inC.strReport);
    EXPECT_EQ(inLocale.durations, inC.durations);
}

INSTANTIATE_TEST_SUITE_P(DesktopLocales, LocaleIndependenceTest,
                         testing::Values("C", "C.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             std::string strName;
                             for (const char* p = info.param; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p)))
                                     strName += *p;
                             return strName;
                         });
