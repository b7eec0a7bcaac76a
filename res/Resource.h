// Resource numbers of the tool's dialogs, icon and strings, and the strings themselves.
#pragma once

#include <string>

enum
{
    IDD_ABOUTBOX = 100,
    IDS_ABOUTBOX = 101,
    IDD_MAIN = 102,
    IDS_SOCKETS_INIT_FAILED = 103,
    IDR_MAINFRAME = 128,
    IDD_DATE = 130,
};

// The system menu's About command; the low four bits of a system command are the system's own.
enum
{
    IDM_ABOUTBOX = 0x0010,
};

// The text of a string resource; empty when there is no string of that number.
std::string LoadResourceString(int nId);

// The window menu's own Close command, handed to the default handling like the close box.
enum
{
    IDM_SYSCLOSE = 0x1000,
};

// The window menu's Undo and Redo of the last change to the table.
enum
{
    IDM_UNDO = 0x1010,
    IDM_REDO = 0x1020,
};
