// The application icon IDR_MAINFRAME, in its 32 x 32 and 16 x 16 images.
#pragma once

#include <wx/iconbndl.h>

// The icon at the system's standard size (32 x 32) and at both sizes for the window's title bar.
wxIcon LoadMainIcon();
wxIconBundle LoadMainIconBundle();
