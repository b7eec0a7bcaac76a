// The thin layer over the window toolkit's services: message boxes, modal runs, the shell's "open",
// the help viewer and the socket layer. Nothing else in the tool calls these services directly, so a
// test can answer a message box, record a shell open or fail the socket start without a modal loop.
#pragma once

#include <functional>
#include <string>

#include <wx/string.h>

class wxComboBox;
class wxDialog;
class wxMenu;
class wxTopLevelWindow;
class wxWindow;

enum class EMessageButtons { Ok, YesNo, YesNoCancel };
enum class EMessageAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest
{
    std::string strText;
    std::string strCaption;
    EMessageButtons eButtons = EMessageButtons::Ok;
    bool bExclamation = false;
    wxWindow* pOwner = nullptr;
};

// Test seams: each one, when set, replaces the real service.
struct ToolkitHooks
{
    std::function<EMessageAnswer(const MessageBoxRequest&)> onMessageBox;
    std::function<int(wxDialog&)> onRunModal;  // instead of the modal loop; returns the end code
    std::function<void(const std::string&)> onShellOpen;
    std::function<bool(const std::string& strFile, int nContext)> onShowHelp;
    std::function<bool()> onStartSockets;
    std::function<std::string()> onExecutablePath;
};

class CToolkit
{
public:
    // The window that owns the application's message boxes, if any.
    static void SetMainWindow(wxWindow* pWindow);
    static wxWindow* GetMainWindow();

    // The running program's full path.
    static std::string GetExecutablePath();

    // The application's title: the executable's base name without its extension.
    static std::string GetAppTitle();

    // Owned by the main window, the caller's caption, an OK button, no icon.
    static void MainMessageBox(wxWindow* pOwner, const std::string& strText,
                               const std::string& strCaption);
    // Owned by the main window if any, the application's title as caption, an exclamation icon.
    static EMessageAnswer AppMessageBox(const std::string& strText,
                                        EMessageButtons eButtons = EMessageButtons::Ok);

    // Runs an already created dialog modally; its owner is disabled meanwhile.
    static int RunModal(wxDialog& dialog);

    // The desktop shell's "open" of a relative path or a web address; the result is not reported.
    static void ShellOpen(const std::string& strTarget);

    // Shows the help file at a context number; false when no viewer can show it.
    static bool ShowHelp(const std::string& strHelpFile, int nContext);

    // Lets a window take input while another window's modal run is up. GTK confines a modal run's
    // input to its window group, and the window manager keeps a modal dialog above the other windows
    // of its application's group; the window gets a group of each kind of its own. Call before it is
    // shown.
    static void FreeFromModalRuns(wxTopLevelWindow& window);

    // The drop-down's arrow button takes no focus, so Tab goes from the edit part to the next control.
    static void KeepArrowOutOfTabOrder(wxComboBox& combo);

    // Starts the socket layer; false when it cannot be started.
    static bool StartSockets();

    // The end of the run on a termination signal: from now on no message box or modal run waits for
    // the user (a message goes to standard error instead), and every dialog and message box that is
    // up ends as if closed, innermost first, each as soon as the one over it has returned.
    static void EndAllModal();
    // Only the first half of it: from now on nothing waits for the user; what is up stays up.
    static void BeginEnding();
    static bool IsEnding();
    // Closes a pop-up menu that is shown, ending the loop that waits for its choice.
    static void ClosePopupMenu(wxMenu& menu);

    // Brings the main window and every dialog and message box open over it to the front.
    static void RaiseWindows();

    // A message's text as the message box shows it.
    static wxString ToMessageText(const std::string& strText);

    static void SetHooks(ToolkitHooks hooks);
    // Also returns the layer from ending to running, as a new program starts.
    static void ClearHooks();

private:
    static EMessageAnswer ShowMessage(const MessageBoxRequest& request);
};
