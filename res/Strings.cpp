// The string table.
#include "res/Resource.h"

std::string LoadResourceString(int nId)
{
    switch (nId)
    {
    case IDS_ABOUTBOX:
        return "&About Vantrell...";
    case IDS_SOCKETS_INIT_FAILED:
        return "Windows sockets initialization failed.";
    default:
        return std::string();
    }
}
