// The rules of an in-place rename, as plain text functions: which names are
// refused, what the box shows and selects, and the name the file finally
// gets. Nothing here touches the disk.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace cadrels {

// Spaces and tabs removed at both ends.
std::wstring TrimRenameText(std::wstring_view text);

// Empty, holding one of \ / : * ? " < > |, ending with a space or a dot, or
// a reserved device name before its first dot (CON, PRN, AUX, NUL, COM1 to
// COM9, LPT1 to LPT9, ASCII case ignored): such a name is refused.
bool IsAcceptableNewName(std::wstring_view name);

// The display name hides ".lnk" and ".url": a new name typed without the
// old name's hidden extension gets it back.
std::wstring NameKeepingHiddenExtension(std::wstring_view oldName, std::wstring_view newName);

// The folder and the name of a path split at its last \ or /; nothing when
// the path has no separator.
bool SplitParentAndName(std::wstring_view path, std::wstring& parent, std::wstring& name);

// What the box selects when it opens on a display name: all of it for a
// folder or a name without a "." after its first character, else the part
// before the last ".". End -1 means to the end.
std::pair<int, int> RenameSelection(std::wstring_view displayName, bool isFolder);

}  // namespace cadrels
