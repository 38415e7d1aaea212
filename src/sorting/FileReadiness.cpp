#include "sorting/FileReadiness.h"

#include "model/PathText.h"

#include <algorithm>
#include <array>

namespace cadrels {
namespace {

constexpr std::array<std::wstring_view, 5> UnfinishedSuffixes = {L".crdownload", L".part", L".partial",
                                                                  L".download", L".opdownload"};

bool EndsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view suffix)
{
    return text.size() >= suffix.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

bool IsUnfinishedFileName(std::wstring_view name)
{
    if (name.substr(0, 2) == L"~$") {
        return true;
    }
    return std::any_of(UnfinishedSuffixes.begin(), UnfinishedSuffixes.end(),
                       [name](std::wstring_view suffix) { return EndsWithIgnoringAsciiCase(name, suffix); });
}

bool IsReadyToFile(std::wstring_view name, const FileStat& stat, std::uint64_t now)
{
    if (IsUnfinishedFileName(name)) {
        return false;
    }
    // A time ahead of the clock counts as young: the writer's clock is as
    // good as ours.
    const bool young = stat.lastWrite >= now || now - stat.lastWrite < YoungEmptyFileAge;
    return !(stat.size == 0 && !stat.directory && young);
}

void QuietPeriod::Changed(std::uint64_t now)
{
    if (!pending_) {
        pending_ = true;
        first_ = now;
    }
    start_ = std::min(now + quiet_, first_ + longest_);
}

bool QuietPeriod::Due(std::uint64_t now) const
{
    return pending_ && now >= start_;
}

std::uint64_t QuietPeriod::Remaining(std::uint64_t now) const
{
    return pending_ && now < start_ ? start_ - now : 0;
}

}  // namespace cadrels
