// The program's entry point.
#include "app/App.h"

wxIMPLEMENT_APP(COvertimeApp);
