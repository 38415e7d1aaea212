// The shell entries of the current user: the desktop menu entry, "send to a
// cadrel" on files and folders, and the file search entry.
#pragma once

#include <windows.h>

#include <string>

namespace cadrels {

// The full path of the running program; empty when it cannot be had whole
// (a truncated path would start some other program).
std::wstring ProgramPath();

// Writes the four verbs with their labels in the current language. A key
// that cannot be created is skipped: a missing entry is all the user sees.
void WriteShellVerbs();
// The same below another root, for a program path given.
void WriteShellVerbsUnder(HKEY root, const std::wstring& programPath);

}  // namespace cadrels
