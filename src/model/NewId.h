#pragma once

#include <string>

namespace cadrels {

// A fresh GUID in registry form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
// (upper case, 38 characters); empty when no GUID can be made.
std::string NewId();

}  // namespace cadrels
