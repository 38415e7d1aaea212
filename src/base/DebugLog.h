// Diagnostic lines for the debugger output: "[Cadrels] " + text + line feed.
// Texts are French without accents; there are no log files and no levels.
#pragma once

namespace cadrels {

// Wide printf rules (MS semantics: %s and %ls are both wide strings); the text
// is cut to 511 characters.
void DebugLog(const wchar_t* format, ...);

}  // namespace cadrels
