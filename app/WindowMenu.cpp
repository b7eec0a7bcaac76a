// The main window's system commands and the Help button.
#include "app/MainDialog.h"

#include "app/Toolkit.h"
#include "res/ProductInfo.h"
#include "res/Resource.h"

void CMainDialog::AppendAboutItem()
{
}

void CMainDialog::OnSysCommand(unsigned nID, long)
{
    if (nID == IDM_SYSCLOSE)
        EndDialogRun(wxID_CANCEL);
}

void CMainDialog::OnHelpPage(wxCommandEvent&)
{
    PullFields();
    CToolkit::ShellOpen(std::string(kWebAddress) + "help.htm");
    PushFields();
}
