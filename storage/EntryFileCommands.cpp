// The main window's steps for the data file: load when it opens, save when it is destroyed.
#include "app/MainDialog.h"

void CMainDialog::LoadEntries()
{
    PullFields();
    ClearFields();
    PushFields();
}

void CMainDialog::SaveEntries()
{
}

void CMainDialog::WriteTableNow()
{
}
