// Fills the report templates with a few made-up entries, for the README picture.
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "report/ReportFill.h"
#include "res/ProductInfo.h"

namespace
{

bool ReadWhole(const char* pszPath, std::string& strText)
{
    std::ifstream in(pszPath, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    strText = out.str();
    return static_cast<bool>(in);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::cerr << "usage: " << argv[0] << " ReportOutside.htm ReportInside.htm report.htm\n";
        return 2;
    }
    std::string strPage;
    std::string strRow;
    if (!ReadWhole(argv[1], strPage) || !ReadWhole(argv[2], strRow))
    {
        std::cerr << "cannot read the templates\n";
        return 1;
    }

    // Newest first, as the entry table keeps them.
    const std::vector<EntryRow> rows = {
        {"Release 1.02: packaging and smoke tests", "2024-03-28", "2:00"},
        {"Quarter-end figures for the finance team", "2024-03-26", "1:15"},
        {"Fix <br> handling & tests", "2024-03-21", "1:30"},
        {"Customer call about the \"quarterly\" import", "2024-03-14", "0:45"},
        {"Database migration, weekend shift", "2024-03-09", "4:15"},
        {"On-call: restart of the build server", "2024-03-02", "0:30"},
        {"Onboarding notes for the new colleague", "2024-02-27", "0:45"},
    };
    const std::string strReport =
        FillReport(strPage, strRow, rows.size(), [&](size_t i) -> const EntryRow& { return rows[i]; },
                   kWebAddress);

    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << strReport;
    out.close();
    if (!out)
    {
        std::cerr << "cannot write " << argv[3] << "\n";
        return 1;
    }
    return 0;
}
