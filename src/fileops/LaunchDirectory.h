// The working directory a file is opened in: its own folder, or the drive's
// root for a file at the root. Plain text only, tested on any host.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// The path up to its last separator; "C:\" for "C:\file"; empty without a
// separator, and for shortcuts, which carry their own.
std::wstring LaunchDirectory(std::wstring_view path);

}  // namespace cadrels
