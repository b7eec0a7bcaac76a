// The report templates that ship with the program, and the copy that stands in for a missing one.
#pragma once

#include <string>

// Where the program finds the templates it ships with.
struct ShippedTemplatePlaces
{
    std::string strExecutable;   // the running program's path
    std::string strBuildDir;     // the build tree it was built in
    std::string strSourceDir;    // the source tree's templates folder, for a program run from its build tree
};

// The path of the shipped copy of a template, empty when there is none: first the installed copy,
// <prefix>/share/vantrell/templates for a program in <prefix>/lib/vantrell/, then the source tree's
// folder, but only for a program that lies inside its build tree.
std::string FindShippedTemplate(const ShippedTemplatePlaces& places, const std::string& strName);

// Whether nothing at all, not even a dangling link, has the name.
bool IsMissingFile(const std::string& strName);

// Creates the file, which must not exist, as a byte for byte copy of the source. False, with nothing
// left behind, when the source cannot be read or the copy cannot be made whole; a file that appears
// meanwhile is never written over.
bool CopyToNewFile(const std::string& strSource, const std::string& strName);

// The process's current folder, as the message about empty templates names it.
std::string CurrentFolder();
