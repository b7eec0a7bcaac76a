// The user's language: the locale, the message catalogs and the translated help file.
#pragma once

#include <string>

// Takes the user's locale for everything the toolkit shows (texts, calendar, first day of the week)
// and loads the tool's catalog and the toolkit's own for the user's language. Numbers stay in the C
// form. Called once at start-up, before any window is made.
void SetUpTranslations();

class wxWindow;

// A translated label may need more room than the layout's slot for the English text: each fixed
// label of the window that its text would overflow gets that room as its least size, so the
// window's sizers make way. Labels whose text fits keep their slots.
void FitLabelsToTexts(wxWindow& window);

// The help file in the user's language where one lies beside the English one ("vantrell.de.HLP"
// beside "vantrell.HLP"); otherwise the English file itself.
std::string LocalizedHelpFile(const std::string& strHelpFile);
