// The user's language: the locale, the message catalogs and the translated help file.
#pragma once

#include <string>

// Takes the user's locale for everything the toolkit shows (texts, calendar, first day of the week)
// and loads the tool's catalog and the toolkit's own for the user's language. Numbers stay in the C
// form. Called once at start-up, before any window is made.
void SetUpTranslations();

// The help file in the user's language where one lies beside the English one ("vantrell.de.HLP"
// beside "vantrell.HLP"); otherwise the English file itself.
std::string LocalizedHelpFile(const std::string& strHelpFile);
