// The user's language: the locale, the message catalogs and the translated help file.
#include "app/Translations.h"

#include <wx/filename.h>
#include <wx/intl.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>
#include <wx/translation.h>
#include <wx/uilocale.h>

#include <clocale>

namespace
{
const char kCatalog[] = "vantrell";

// The catalogs lie in share/locale of the install prefix, two levels above the program
// (lib/vantrell/vantrell), or in the build tree's share/locale, one level above it.
void AddCatalogFolders()
{
    const wxFileName exe(wxStandardPaths::Get().GetExecutablePath());
    for (const char* pszUp : {"../share/locale", "../../share/locale"})
    {
        wxFileName folder(exe.GetPath() + "/" + pszUp, "");
        folder.Normalize(wxPATH_NORM_DOTS | wxPATH_NORM_ABSOLUTE);
        if (folder.DirExists())
            wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder.GetPath());
    }
}
}  // namespace

void SetUpTranslations()
{
    // A locale the system lacks leaves the C library in "C"; the catalogs still follow the
    // environment's language, only the calendar and GTK's own texts stay English then.
    wxUILocale::UseDefault();
    // Durations, counts and the data file are written the same under every locale; no text of the
    // tool shows a decimal number, so nothing is lost by keeping the C form.
    std::setlocale(LC_NUMERIC, "C");

    AddCatalogFolders();
    auto* pTranslations = new wxTranslations();
    wxTranslations::Set(pTranslations);
    pTranslations->AddStdCatalog();
    pTranslations->AddCatalog(kCatalog, wxLANGUAGE_ENGLISH_US);
}

void FitLabelsToTexts(wxWindow& window)
{
    for (wxWindow* pChild : window.GetChildren())
    {
        auto* pLabel = dynamic_cast<wxStaticText*>(pChild);
        if (!pLabel || !pLabel->HasFlag(wxST_NO_AUTORESIZE) || pLabel->GetLabelText().Contains("\n"))
            continue;
        wxSize least = pLabel->GetMinSize();
        if (least.x < 0)
            least = pLabel->GetSize();
        const int nTextWidth = pLabel->GetTextExtent(pLabel->GetLabelText()).GetWidth();
        if (nTextWidth <= least.x)
            continue;
        least.x = nTextWidth;
        pLabel->SetMinSize(least);
    }
}

std::string LocalizedHelpFile(const std::string& strHelpFile)
{
    wxTranslations* pTranslations = wxTranslations::Get();
    if (!pTranslations)
        return strHelpFile;
    // The help file follows the language the window's texts are shown in.
    const wxString language = pTranslations->GetBestTranslation(kCatalog, wxLANGUAGE_ENGLISH_US);
    if (language.empty() || language.StartsWith("en"))
        return strHelpFile;
    const wxFileName file(wxString::FromUTF8(strHelpFile));
    for (const wxString& code : {language, language.BeforeFirst('_')})
    {
        wxFileName localized(file);
        localized.SetName(file.GetName() + "." + code);
        if (localized.FileExists())
            return localized.GetFullPath().utf8_string();
    }
    return strHelpFile;
}
