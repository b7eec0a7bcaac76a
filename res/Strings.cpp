// The string table.
#include "res/Resource.h"

#include <wx/intl.h>

std::string LoadResourceString(int nId)
{
    switch (nId)
    {
    case IDS_ABOUTBOX:
        return _("&About Vantrell...").utf8_string();
    case IDS_SOCKETS_INIT_FAILED:
        return _("Windows sockets initialization failed.").utf8_string();
    default:
        return std::string();
    }
}
