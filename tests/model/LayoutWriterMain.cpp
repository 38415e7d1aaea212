// Saves a large layout again and again until it is killed: the victim of the
// crash-safety test.
#include "LargeLayout.h"

#include "model/LayoutFile.h"

#include <windows.h>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        return 2;
    }
    cadrels::LayoutFile file(argv[1]);
    for (unsigned round = 0;; ++round) {
        // Alternate sizes, so a torn write would show as a truncated file.
        const int pages = round % 2 == 0 ? 12 : 6;
        file.Save(cadrels::testing::MakeLargeSettings(pages, 20, 3, round));
    }
}
