// Folder keywords ("{documents}\Plans") that an administrator may write
// instead of a path, and environment variables in paths.
#pragma once

#include "model/FolderResolver.h"

#include <string>

namespace cadrels {

// A leading "{keyword}" (any case) becomes its folder, followed by the rest of
// the text; an unknown keyword or a folder that does not resolve leaves the
// text as it is. Environment variables are then expanded when the result fits
// in 1024 characters, the terminating NUL included.
std::wstring ResolveFolderKeyword(const std::wstring& text, const FolderResolver& resolve = ResolveKnownFolder);

// The expansion step alone: the text unchanged when it fails or does not fit.
std::wstring ExpandEnvironment(const std::wstring& text);

}  // namespace cadrels
