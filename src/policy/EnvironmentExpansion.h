// Expanding "%NAME%" references against a given set of variables rather than
// the process's own environment, which whoever starts the process chooses.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cadrels {

using EnvironmentVariables = std::vector<std::pair<std::wstring, std::wstring>>;

// Every "%NAME%" whose name `variables` holds (names compared without ASCII
// case, the first match wins) is replaced by its value; unknown references
// and a lone "%" stay as written, as ExpandEnvironmentStrings leaves them.
std::wstring ExpandReferences(std::wstring_view text, const EnvironmentVariables& variables);

}  // namespace cadrels
