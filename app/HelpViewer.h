// F1 help: the help file's path and context, the Help command that F1 raises, and the window that
// shows the help file.
#pragma once

#include <wx/frame.h>

#include <string>

class wxCloseEvent;
class wxHtmlLinkEvent;
class wxHtmlWindow;
class wxKeyEvent;

// The help file beside the executable: its path with ".HLP" in place of the extension, or with
// ".HLP" appended when the file name has none.
std::string HelpFilePath(const std::string& strExecutable);

// 0x20000 plus the template number of the dialog that holds the window; the main window's when
// the window is none of the tool's dialogs.
int HelpContextOf(const wxWindow* pWindow);

// The anchor name of a help context in the help file: "0x20066" for 0x20066.
std::string HelpAnchor(int nContext);

// F1 in a dialog raises the toolkit's Help command from it; false for every other key.
bool RaiseHelpOnF1(wxWindow& window, const wxKeyEvent& event);

// The application's answer to the Help command raised from a window: the help file at that
// window's context, or "Failed to launch help." when it cannot be shown.
void LaunchHelp(const wxWindow* pFrom);

// A small window that shows the help file as HTML, scrolled to the context's anchor. One at a
// time: showing help again brings it to the front at the new context. It works beside the main
// window's modal run and the nested dialogs, and closing it (close box, Esc, Ctrl+W) closes only it.
class CHelpViewer : public wxFrame
{
public:
    // False, with no window shown, when the file cannot be read.
    static bool Open(const std::string& strHelpFile, int nContext);
    // The open viewer, if any.
    static CHelpViewer* Find();

    wxHtmlWindow* GetHtmlWindow() const { return m_pHtml; }

private:
    CHelpViewer();
    ~CHelpViewer() override;

    void ShowPage(const std::string& strHtml, int nContext);
    void PlaceBesideMainWindow();
    void OnLinkClicked(wxHtmlLinkEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnClose(wxCloseEvent& event);

    wxHtmlWindow* m_pHtml = nullptr;

    wxDECLARE_EVENT_TABLE();
};
