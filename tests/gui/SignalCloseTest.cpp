// The close on a termination signal with real dialogs and GTK's own message boxes up: each ends,
// innermost first, and nothing on the way or after it waits for the user.
#include "tests/gui/GuiTest.h"

#include "app/MainDialog.h"

#include <wx/dialog.h>
#include <wx/timer.h>

#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
const char kOneEntry[] = "CREATOR=KVL 1.0\r\nDESCRIPTION=Kept\r\nOT=1:30\r\nDATE=2005-03-01\r\n";

// What the code under test writes to standard error while the object lives.
class CStandardErrorCapture
{
public:
    CStandardErrorCapture()
    {
        std::fflush(stderr);
        m_nSaved = dup(STDERR_FILENO);
        m_nFile = open("stderr.txt", O_RDWR | O_CREAT | O_TRUNC, 0600);
        dup2(m_nFile, STDERR_FILENO);
    }
    ~CStandardErrorCapture()
    {
        Restore();
        close(m_nFile);
    }

    std::string Text()
    {
        Restore();
        std::string strText(4096, '\0');
        const ssize_t nRead = pread(m_nFile, &strText[0], strText.size(), 0);
        strText.resize(nRead > 0 ? static_cast<size_t>(nRead) : 0);
        return strText;
    }

private:
    void Restore()
    {
        if (m_nSaved < 0)
            return;
        std::fflush(stderr);
        dup2(m_nSaved, STDERR_FILENO);
        close(m_nSaved);
        m_nSaved = -1;
    }

    int m_nSaved = -1;
    int m_nFile = -1;
};

// Runs a step once, from the event loop that is running when the time is up.
class COneShot : public wxTimer
{
public:
    explicit COneShot(std::function<void()> step) : m_step(std::move(step)) {}
    void Notify() override { m_step(); }

private:
    std::function<void()> m_step;
};

class SignalCloseTest : public GuiTest
{
protected:
    // Real message boxes: GTK's native dialogs with their own loop, not the recording hook.
    void UseRealMessageBoxes()
    {
        ToolkitHooks hooks;
        hooks.onShellOpen = [this](const std::string& strTarget) { m_shellOpens.push_back(strTarget); };
        CToolkit::SetHooks(hooks);
    }

    // A box the signal failed to end would hang the test program: it ends it at once instead.
    COneShot m_rescue{[] {
        std::fprintf(stderr, "a dialog stayed up after the signal\n");
        std::_Exit(1);
    }};
};
}  // namespace

TEST_F(SignalCloseTest, ADialogAndTheMessageBoxInItEndInnermostFirst)
{
    WriteFile("kvl.dat", kOneEntry);
    CMainDialog& dialog = OpenMain();
    UseRealMessageBoxes();
    std::vector<std::string> ended;

    wxDialog nested(&dialog, wxID_ANY, "Nested");
    COneShot signal([&] { dialog.EndOnSignal(); });
    COneShot question([&] {
        signal.StartOnce(300);
        const EMessageAnswer eAnswer = CToolkit::AppMessageBox("Would you like to view it?", EMessageButtons::YesNo);
        ended.push_back(eAnswer == EMessageAnswer::No ? "box: No" : "box: other");
    });
    question.StartOnce(200);
    m_rescue.StartOnce(10000);
    const int nResult = nested.ShowModal();
    ended.push_back(nResult == wxID_CANCEL ? "dialog: Cancel" : "dialog: other");
    m_rescue.Stop();

    EXPECT_EQ(ended, (std::vector<std::string>{"box: No", "dialog: Cancel"}));
    EXPECT_FALSE(dialog.IsShown());
    EXPECT_EQ(ReadFile("kvl.dat"), kOneEntry);
}

TEST_F(SignalCloseTest, AfterTheSignalNoMessageBoxOrDialogWaits)
{
    CMainDialog& dialog = OpenMain();
    UseRealMessageBoxes();
    dialog.EndOnSignal();

    m_rescue.StartOnce(10000);
    CStandardErrorCapture capture;
    EXPECT_EQ(CToolkit::AppMessageBox("A question nobody is there to answer", EMessageButtons::YesNo),
              EMessageAnswer::No);
    CToolkit::MainMessageBox(&dialog, "Error loading file", "Error");
    wxDialog later(&dialog, wxID_ANY, "Later");
    EXPECT_EQ(CToolkit::RunModal(later), wxID_CANCEL);
    EXPECT_EQ(later.ShowModal(), wxID_CANCEL);  // also one the toolkit layer never sees
    m_rescue.Stop();
    const std::string strErr = capture.Text();
    EXPECT_NE(strErr.find("A question nobody is there to answer"), std::string::npos) << strErr;
    EXPECT_NE(strErr.find("Error loading file"), std::string::npos) << strErr;
}

TEST_F(SignalCloseTest, AFailedSaveOnTheWayOutGoesToStandardError)
{
    WriteFile("kvl.dat", kOneEntry);
    ASSERT_EQ(chmod("kvl.dat", 0444), 0);
    CMainDialog& dialog = OpenMain();
    dialog.m_listEntries.DeleteRow(0);  // something to save
    {
        CStandardErrorCapture capture;
        dialog.EndOnSignal();
        dialog.Hide();
        dialog.OnDestroy();  // the destruction step saves again, and fails again
        const std::string strErr = capture.Text();
        EXPECT_NE(strErr.find("could not be saved"), std::string::npos) << strErr;
    }
    EXPECT_TRUE(m_messages.empty());
    EXPECT_TRUE(dialog.IsSignalSaveFailed());
    EXPECT_EQ(ReadFile("kvl.dat"), kOneEntry);
}

// What a save has to tell besides a failure (here: no backup could be kept) waits for nobody either.
TEST_F(SignalCloseTest, ASavesNotesOnTheWayOutGoToStandardError)
{
    WriteFile("kvl.dat", kOneEntry);
    ASSERT_EQ(mkdir("kvl.dat.bak", 0755), 0);  // no backup can be written
    CMainDialog& dialog = OpenMain();
    dialog.m_listEntries.DeleteRow(0);
    CStandardErrorCapture capture;
    dialog.EndOnSignal();
    const std::string strErr = capture.Text();
    EXPECT_TRUE(m_messages.empty());
    EXPECT_NE(strErr.find("kvl.dat.bak"), std::string::npos) << strErr;
    EXPECT_FALSE(dialog.IsSignalSaveFailed());
    EXPECT_EQ(ReadFile("kvl.dat").find("Kept"), std::string::npos);
}
