// A large, realistic arrangement for crash, robustness and speed tests.
#pragma once

#include "model/Records.h"

namespace cadrels::testing {

// `pages` pages of `cadrelsPerPage` cadrels with `tabsPerCadrel` tabs each,
// rules, and geometry for three display keys. `seed` varies the values.
Settings MakeLargeSettings(int pages, int cadrelsPerPage, int tabsPerCadrel, unsigned seed);

}  // namespace cadrels::testing
