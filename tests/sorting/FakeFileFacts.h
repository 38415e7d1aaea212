// File facts made up in memory, counting what the matching asks for.
#pragma once

#include "sorting/SortRules.h"

#include <map>
#include <string>

namespace cadrels::testing {

// A day and an hour in 100-ns units.
inline constexpr std::uint64_t Day = TicksPerDay;
inline constexpr std::uint64_t Hour = TicksPerDay / 24;
// Some fixed "now": 2024-06-15 12:00 UTC.
inline constexpr std::uint64_t Now = 133629264000000000ULL;
inline constexpr std::uint64_t MiB = 1ULL << 20;

class FakeFileFacts final : public FileFacts {
public:
    void AddFile(const std::wstring& path, std::uint64_t size, std::uint64_t lastWrite = Now)
    {
        stats_[path] = FileStat{size, lastWrite, false};
    }
    void AddFolder(const std::wstring& path) { stats_[path] = FileStat{0, Now, true}; }
    void AddShortcut(const std::wstring& path, ShortcutTarget target)
    {
        AddFile(path, 1000);
        shortcuts_[path] = std::move(target);
    }

    std::optional<FileStat> Stat(const std::wstring& path) override
    {
        ++statCalls[path];
        const auto found = stats_.find(path);
        return found == stats_.end() ? std::nullopt : std::optional<FileStat>(found->second);
    }
    ShortcutTarget ReadShortcut(const std::wstring& path) override
    {
        ++shortcutCalls[path];
        const auto found = shortcuts_.find(path);
        return found == shortcuts_.end() ? ShortcutTarget{} : found->second;
    }

    std::map<std::wstring, int> statCalls;
    std::map<std::wstring, int> shortcutCalls;

private:
    std::map<std::wstring, FileStat> stats_;
    std::map<std::wstring, ShortcutTarget> shortcuts_;
};

}  // namespace cadrels::testing
