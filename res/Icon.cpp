// The application icon, drawn by scripts/draw-icon.py.
#include "res/Icon.h"

#include "res/mainframe_16.xpm"
#include "res/mainframe_32.xpm"

wxIcon LoadMainIcon()
{
    return wxIcon(mainframe_32_xpm);
}

wxIconBundle LoadMainIconBundle()
{
    wxIconBundle bundle;
    bundle.AddIcon(wxIcon(mainframe_32_xpm));
    bundle.AddIcon(wxIcon(mainframe_16_xpm));
    return bundle;
}
