// Helpers shared by the GUI tests: a fresh working folder, answered message boxes, bounded waits.
#pragma once

#include "app/Toolkit.h"
#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainDialog;

// Lets pending events run until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int nMilliseconds = 3000);
void YieldFor(int nMilliseconds);

// Every test runs in an empty folder of its own, with the toolkit layer's services recorded.
class GuiTest : public testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a fresh main window as the modal run would, without its loop.
    CMainDialog& OpenMain();
    // Destroys it as closing does (the data file is written then).
    void CloseMain();
    void Click(const char* pszButton);
    void ClickList();

    std::string ReadFile(const std::string& strName) const;
    void WriteFile(const std::string& strName, const std::string& strBytes) const;

    std::vector<MessageBoxRequest> m_messages;
    std::vector<EMessageAnswer> m_answers;  // given in turn; then Ok, or No where there is a No
    std::vector<std::string> m_shellOpens;
    std::function<int(wxDialog&)> m_runModal;
    // The program's path as the tool sees it; empty for the test program's own.
    std::string m_strExecutable;

    std::unique_ptr<CMainDialog> m_pMain;
    CTestFolder m_folder;
};
