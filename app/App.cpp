// Start-up of the tool.
#include "app/App.h"

#include "app/HelpViewer.h"
#include "app/MainDialog.h"
#include "app/Toolkit.h"
#include "app/Translations.h"
#include "res/Resource.h"
#include "storage/DataFileLock.h"

#include <wx/intl.h>
#include <wx/xrc/xmlres.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

void InitXmlResource();  // the compiled dialog layouts

wxBEGIN_EVENT_TABLE(COvertimeApp, wxApp)
    EVT_MENU(wxID_HELP, COvertimeApp::OnHelp)
wxEND_EVENT_TABLE()

COvertimeApp::~COvertimeApp() = default;

namespace
{
const char kDataFileName[] = "kvl.dat";
// The signal by which a second start asks the window that has its log open to come to the front.
const int kRaiseSignal = SIGUSR1;
const unsigned kWatchdogSeconds = 3;

CMainDialog* g_pRunningDialog = nullptr;
std::string g_strWatchdogText;

// Runs in the signal context: nothing but what a signal handler may call.
extern "C" void OnWatchdog(int)
{
    [[maybe_unused]] const ssize_t nWritten =
        write(STDERR_FILENO, g_strWatchdogText.data(), g_strWatchdogText.size());
    _exit(1);
}

// The last resort when the orderly close does not finish: it needs no event loop, so a close that
// waits in a loop or in a system call cannot hold it up.
void ArmWatchdog()
{
    static bool s_bArmed = false;
    if (s_bArmed)
        return;
    s_bArmed = true;
    g_strWatchdogText = CToolkit::GetAppTitle() + ": " +
                        _("the window did not close in time after a termination signal").utf8_string() + "\n";
    struct sigaction action = {};
    action.sa_handler = OnWatchdog;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    alarm(kWatchdogSeconds);
}

// The desktop ends a session with a signal, not with an event: the table must be on disk before the
// process goes, and nothing on the way may wait for the user.
void OnTerminationSignal(int)
{
    ArmWatchdog();
    // Outside the main window's run there is no table to keep.
    if (!g_pRunningDialog)
        std::_Exit(0);
    g_pRunningDialog->EndOnSignal();
}

void OnRaiseSignal(int)
{
    if (g_pRunningDialog && !CToolkit::IsEnding())
        CToolkit::RaiseWindows();
}

void WriteNotice(const wxString& text)
{
    std::fprintf(stderr, "%s: %s\n", CToolkit::GetAppTitle().c_str(), text.utf8_string().c_str());
}
}  // namespace

bool COvertimeApp::OnInit()
{
    SetUpTranslations();
    for (int nSignal : {SIGTERM, SIGINT, SIGHUP})
        SetSignalHandler(nSignal, OnTerminationSignal);
    // Set before the lock is taken: a second start that finds this process holding it may send it.
    SetSignalHandler(kRaiseSignal, OnRaiseSignal);
    InitInstance();
    return true;
}

int COvertimeApp::OnRun()
{
    // The main window ran modally inside start-up; there is nothing left for a message loop to do.
    return m_nExitCode;
}

bool COvertimeApp::InitInstance()
{
    if (!CToolkit::StartSockets())
    {
        CToolkit::AppMessageBox(LoadResourceString(IDS_SOCKETS_INIT_FAILED));
        m_nExitCode = 1;
        return false;
    }

    // Held until the table has been saved for the last time, when the window is destroyed.
    CDataFileLock lock;
    if (!TakeDataFileLock(lock))
        return false;

    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();

    CMainDialog dialog;
    SetTopWindow(&dialog);
    g_pRunningDialog = &dialog;
    dialog.DoModal();
    g_pRunningDialog = nullptr;
    SetTopWindow(nullptr);
    m_nExitCode = dialog.IsSignalSaveFailed() ? 1 : 0;
    return false;
}

bool COvertimeApp::TakeDataFileLock(CDataFileLock& lock)
{
    switch (lock.Acquire(kDataFileName))
    {
    case ELockResult::Locked:
        return true;
    case ELockResult::Unavailable:
        // A folder where no lock can be kept must not keep the user from the log.
        WriteNotice(wxString::Format(_("no lock can be kept beside %s; a second start could open the same log"),
                                     wxString::FromUTF8(lock.GetDataPath().empty() ? kDataFileName
                                                                                  : lock.GetDataPath())));
        return true;
    case ELockResult::HeldElsewhere:
        break;
    }

    // The data file is neither created nor read: the window that holds it is the only one at work.
    const LockHolder& holder = lock.GetHolder();
    const wxString path = wxString::FromUTF8(lock.GetDataPath());
    if (IsLocalHolderOfThisProgram(holder) && kill(holder.nPid, kRaiseSignal) == 0)
    {
        WriteNotice(wxString::Format(_("%s is already open in process %d; its window was brought to the front"),
                                     path, static_cast<int>(holder.nPid)));
        m_nExitCode = 0;
        return false;
    }
    // Another user's window, or one on another machine that shares the folder.
    const wxString text = wxString::Format(_("This log is already open in another window:\n%s\n\n"
                                             "Only one window at a time can keep it."),
                                           path);
    CToolkit::AppMessageBox(text.utf8_string());
    m_nExitCode = 1;
    return false;
}

// F1 in any of the tool's dialogs: the help file at the context of the dialog that raised it.
void COvertimeApp::OnHelp(wxCommandEvent& event)
{
    LaunchHelp(dynamic_cast<wxWindow*>(event.GetEventObject()));
}
