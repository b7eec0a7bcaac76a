// Benchmarks of the main window with generated logs of 1,000, 10,000 and 100,000 entries, beside a
// plain reference: reading the data file and splitting it into records, with no window.
#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "bench/BenchLog.h"
#include "entries/EntryListCtrl.h"
#include "report/ReportBuilder.h"
#include "storage/EntryFile.h"
#include "storage/EntryFormat.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

void InitXmlResource();

namespace
{
std::string g_strRoot;

// A folder per size with its data file and the shipped templates.
std::string FolderFor(int nRows)
{
    const std::string strDir = g_strRoot + "/log" + std::to_string(nRows);
    if (!std::filesystem::exists(strDir))
    {
        std::filesystem::create_directories(strDir);
        std::ofstream(strDir + "/kvl.dat", std::ios::binary) << FormatEntryTable(MakeLog(nRows));
        for (const char* pszTemplate : {"ReportOutside.htm", "ReportInside.htm"})
            std::filesystem::copy_file(std::string(VANTRELL_TEMPLATES_DIR) + "/" + pszTemplate,
                                       strDir + "/" + pszTemplate);
    }
    return strDir;
}

// Works in the size's folder; the data file is put back as it was afterwards.
class CLogFolder
{
public:
    explicit CLogFolder(int nRows) : m_strDir(FolderFor(nRows))
    {
        std::filesystem::current_path(m_strDir);
        std::ifstream in("kvl.dat", std::ios::binary);
        m_strBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ~CLogFolder()
    {
        std::ofstream("kvl.dat", std::ios::binary | std::ios::trunc) << m_strBytes;
        std::filesystem::remove("kvl.dat.bak");
    }

private:
    std::string m_strDir;
    std::string m_strBytes;
};

std::unique_ptr<CMainDialog> OpenWindow()
{
    auto pDialog = std::make_unique<CMainDialog>();
    pDialog->m_bWriteEachChange = false;  // the write is timed on its own, as the saving figure
    pDialog->Show();
    wxYield();
    return pDialog;
}

void Click(CMainDialog& dialog, const char* pszButton)
{
    wxCommandEvent event(wxEVT_BUTTON, XRCID(pszButton));
    dialog.ProcessWindowEvent(event);
}

void BM_Reference_ReadAndSplit(benchmark::State& state)
{
    CLogFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        size_t nRows = 0;
        CEntryFile("kvl.dat").Load([&nRows](EntryRow&&) { ++nRows; });
        benchmark::DoNotOptimize(nRows);
    }
}

void BM_Open(benchmark::State& state)
{
    CLogFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        auto pDialog = std::make_unique<CMainDialog>();
        pDialog->InitDialog();  // columns, load, sizing: all the window needs before it is shown
        state.PauseTiming();
        pDialog.reset();
        wxYield();
        state.ResumeTiming();
    }
}

void BM_Save(benchmark::State& state)
{
    CLogFolder folder(static_cast<int>(state.range(0)));
    auto pDialog = OpenWindow();
    for (auto _ : state)
        pDialog->SaveEntries();
}

void BM_Report(benchmark::State& state)
{
    CLogFolder folder(static_cast<int>(state.range(0)));
    auto pDialog = OpenWindow();
    for (auto _ : state)
        CReportBuilder(*pDialog).BuildReport();
}

// One command on a full table; the table is put back between runs, untimed.
template <class Command>
void RunCommand(benchmark::State& state, Command command)
{
    CLogFolder folder(static_cast<int>(state.range(0)));
    auto pDialog = OpenWindow();
    for (auto _ : state)
        command(*pDialog, state);
}

void BM_Add(benchmark::State& state)
{
    RunCommand(state, [](CMainDialog& dialog, benchmark::State& s) {
        dialog.m_strDescription = "A new entry typed by the user";
        dialog.m_strDate = "2026-12-11";
        dialog.m_strOvertime = "1:30";
        dialog.PushFields();
        Click(dialog, "IDC_ADD");
        s.PauseTiming();
        dialog.m_listEntries.DeleteRow(0);
        s.ResumeTiming();
    });
}

void BM_Delete(benchmark::State& state)
{
    RunCommand(state, [](CMainDialog& dialog, benchmark::State& s) {
        s.PauseTiming();
        const int nMiddle = dialog.m_listEntries.GetRowCount() / 2;
        const EntryRow row = dialog.m_listEntries.GetRow(nMiddle);
        dialog.m_listEntries.GetListCtrl()->MoveSelectionMark(nMiddle);
        s.ResumeTiming();
        Click(dialog, "IDC_DELETE");
        s.PauseTiming();
        dialog.m_listEntries.InsertTopRow(row);  // the count is what matters for the next run
        s.ResumeTiming();
    });
}

void BM_Update(benchmark::State& state)
{
    RunCommand(state, [](CMainDialog& dialog, benchmark::State& s) {
        s.PauseTiming();
        dialog.m_listEntries.GetListCtrl()->MoveSelectionMark(dialog.m_listEntries.GetRowCount() / 2);
        dialog.m_strDescription = "Changed by an update " + std::to_string(s.iterations());
        dialog.PushFields();
        s.ResumeTiming();
        Click(dialog, "IDC_UPDATE");
    });
}

void BM_ClickList(benchmark::State& state)
{
    RunCommand(state, [](CMainDialog& dialog, benchmark::State&) {
        dialog.m_listEntries.GetListCtrl()->MoveSelectionMark(dialog.m_listEntries.GetRowCount() / 3);
        wxCommandEvent event(vtEVT_LIST_CLICK, XRCID("IDC_LIST"));
        dialog.ProcessWindowEvent(event);
    });
}

#define SIZES Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Reference_ReadAndSplit)->SIZES;
BENCHMARK(BM_Open)->Arg(0)->SIZES;  // the empty log is the base of the opening figure
BENCHMARK(BM_Save)->SIZES;
BENCHMARK(BM_Report)->SIZES;
BENCHMARK(BM_Add)->SIZES;
BENCHMARK(BM_Delete)->SIZES;
BENCHMARK(BM_Update)->SIZES;
BENCHMARK(BM_ClickList)->SIZES;

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Opens one window on the folder's data file and prints the process's peak memory.
int MeasureOpenMemory(int nRows)
{
    CLogFolder folder(nRows);
    auto pDialog = std::make_unique<CMainDialog>();
    pDialog->Show();  // the opening step runs as the window is shown
    wxYield();
    std::printf("%ld\n", PeakKilobytes());
    return 0;
}

long PeakOfChild(const char* pszSelf, int nRows)
{
    const std::string strCommand = std::string(pszSelf) + " --open-memory=" + std::to_string(nRows);
    FILE* pChild = popen(strCommand.c_str(), "r");
    long nKilobytes = -1;
    if (pChild)
    {
        if (std::fscanf(pChild, "%ld", &nKilobytes) != 1)
            nKilobytes = -1;
        pclose(pChild);
    }
    return nKilobytes;
}
}  // namespace

int main(int argc, char** argv)
{
    const bool bMemoryChild = argc == 2 && std::string(argv[1]).rfind("--open-memory=", 0) == 0;
    const int nMemoryRows = bMemoryChild ? std::stoi(std::string(argv[1]).substr(14)) : 0;
    if (bMemoryChild)
        argc = 1;
    else
        benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
        return 2;
    wxLog::EnableLogging(false);
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();
    ToolkitHooks hooks;
    hooks.onMessageBox = [](const MessageBoxRequest&) { return EMessageAnswer::No; };
    CToolkit::SetHooks(hooks);

    g_strRoot = (std::filesystem::temp_directory_path() / "vantrell-bench").string();
    std::filesystem::create_directories(g_strRoot);

    int nResult = 0;
    if (bMemoryChild)
        nResult = MeasureOpenMemory(nMemoryRows);
    else
    {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        FolderFor(0);
        FolderFor(100000);
        const std::string strSelf = std::filesystem::read_symlink("/proc/self/exe").string();
        const long nEmpty = PeakOfChild(strSelf.c_str(), 0);
        const long nFull = PeakOfChild(strSelf.c_str(), 100000);
        std::printf("Peak memory, window open: empty log %.1f MB, 100,000 entries %.1f MB (%.1f MB more)\n",
                    nEmpty / 1024.0, nFull / 1024.0, (nFull - nEmpty) / 1024.0);
    }
    CToolkit::ClearHooks();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
