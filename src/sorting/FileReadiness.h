// Whether a file is finished enough for the filing pass to take it, and when
// a pass may start after its folder changed. Browsers write a download
// under a name of their own and rename it at the end, some create the final
// name empty first and fill it later, and office programs keep a "~$" lock
// file beside an open document: moving any of those breaks the program that
// writes it, or files half a document.
#pragma once

#include "sorting/SortRules.h"

#include <cstdint>
#include <string_view>

namespace cadrels {

// An empty file this recent may still be filled by its writer.
inline constexpr std::uint64_t YoungEmptyFileAge = 60ull * 10'000'000ull;  // one minute in 100-ns units

// A download in progress (.crdownload, .part, .partial, .download,
// .opdownload) or an office lock file ("~$...").
bool IsUnfinishedFileName(std::wstring_view name);

// False for an unfinished name, and for an empty file written less than a
// minute before `now` (both in 100-ns units since 1601).
bool IsReadyToFile(std::wstring_view name, const FileStat& stat, std::uint64_t now);

// When a pass over a changed folder may start: once the folder has been
// quiet for `quiet`, each later change pushing the start back, but never
// past `longest` after the first change, so a folder that keeps changing
// is still filed. Times in milliseconds of a clock the caller passes.
class QuietPeriod {
public:
    static constexpr std::uint64_t DefaultQuiet = 1000;
    static constexpr std::uint64_t DefaultLongest = 5000;

    explicit QuietPeriod(std::uint64_t quiet = DefaultQuiet, std::uint64_t longest = DefaultLongest)
        : quiet_(quiet), longest_(longest)
    {
    }

    void Changed(std::uint64_t now);
    bool Pending() const { return pending_; }
    // True when a pass is waiting and its start has come.
    bool Due(std::uint64_t now) const;
    // Milliseconds until Due from `now` (0 when due or nothing waits).
    std::uint64_t Remaining(std::uint64_t now) const;
    // The pass has started: nothing waits any more.
    void Started() { pending_ = false; }

private:
    std::uint64_t quiet_;
    std::uint64_t longest_;
    bool pending_ = false;
    std::uint64_t first_ = 0;
    std::uint64_t start_ = 0;
};

}  // namespace cadrels
