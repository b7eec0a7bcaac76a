// The GUI test program's main: the toolkit is started once, the tests run inside it, and every
// assertion of the toolkit fails the running test.
#include "tests/gui/GuiTest.h"

#include "app/Translations.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

void InitXmlResource();

namespace
{
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond,
                  const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line) << "toolkit assertion in " << func.utf8_str() << ": "
                                          << cond.utf8_str() << " " << msg.utf8_str();
}
}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp());
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
    {
        fprintf(stderr, "cannot start the toolkit (no display?)\n");
        return 2;
    }
    SetUpTranslations();
    wxSetAssertHandler(FailOnAssert);
    wxLog::EnableLogging(false);
    wxXmlResource::Get()->InitAllHandlers();
    InitXmlResource();

    const int nResult = RUN_ALL_TESTS();

    wxTheApp->OnExit();
    wxEntryCleanup();
    return nResult;
}
