// Which folders the application's watcher watches, and how long a watcher
// waits before it tries a vanished folder again.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cadrels {

// One thread waits on a stop event and one event per folder, and a wait takes
// at most 64 handles.
inline constexpr size_t MaxWatchedFolders = 63;

// The Desktop first (when it resolved), then every non-empty extra folder the
// predicate accepts, in order, cut to MaxWatchedFolders. Folders that fail
// are left out here and stay in the settings.
std::vector<std::wstring> WatchedFolderList(const std::wstring& desktop, const std::vector<std::wstring>& extras,
                                            const std::function<bool(const std::wstring&)>& isWatchable);

inline constexpr std::uint32_t FirstRetryDelayMs = 500;
inline constexpr std::uint32_t MaxRetryDelayMs = 30000;
// After a watch that was running fails, the folder gets this long to come
// back before the first new attempt.
inline constexpr std::uint32_t RewatchPauseMs = 1000;

// How often a watcher makes sure its folder is still where it was.
inline constexpr std::uint32_t FolderRecheckMs = 2000;

// 500, 1000, 2000, ... 16000, then 30000 for good.
constexpr std::uint32_t NextRetryDelay(std::uint32_t delayMs)
{
    return delayMs >= MaxRetryDelayMs / 2 ? MaxRetryDelayMs : delayMs * 2;
}

}  // namespace cadrels
