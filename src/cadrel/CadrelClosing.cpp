#include "cadrel/CadrelClosing.h"

#include "model/PathText.h"

#include <algorithm>

namespace cadrels {
namespace {

std::wstring_view WithoutTrailingSeparators(std::wstring_view path)
{
    while (path.size() > 1 && IsPathSeparator(path.back())) {
        path.remove_suffix(1);
    }
    return path;
}

}  // namespace

bool IsSameOrInside(const std::wstring& path, const std::wstring& folder)
{
    const std::wstring_view p = WithoutTrailingSeparators(path);
    const std::wstring_view f = WithoutTrailingSeparators(folder);
    if (f.empty() || p.size() < f.size() || !StartsWithIgnoringAsciiCase(p, f)) {
        return false;
    }
    return p.size() == f.size() || IsPathSeparator(p[f.size()]);
}

std::vector<std::wstring> FoldersReferencedElsewhere(const Settings& settings, int activePage,
                                                     const std::string& closingId,
                                                     const std::vector<std::wstring>& folders)
{
    std::vector<std::wstring> referenced;
    for (const std::wstring& folder : folders) {
        bool found = false;
        for (size_t page = 0; page < settings.workspaces.size() && !found; ++page) {
            for (const CadrelRecord& record : settings.workspaces[page].cadrels) {
                if (static_cast<int>(page) == activePage && record.id == closingId) {
                    continue;
                }
                found = std::any_of(record.tabs.begin(), record.tabs.end(), [&](const CadrelTab& tab) {
                    return !tab.folder.empty() && IsSameOrInside(tab.folder, folder);
                });
                if (found) {
                    break;
                }
            }
        }
        if (found) {
            referenced.push_back(folder);
        }
    }
    return referenced;
}

std::vector<std::wstring> FoldersStillShown(const std::vector<std::wstring>& folders,
                                            const std::vector<CadrelTab>& tabs)
{
    std::vector<std::wstring> shown;
    for (const std::wstring& folder : folders) {
        const bool still = std::any_of(tabs.begin(), tabs.end(), [&](const CadrelTab& tab) {
            return EqualsIgnoringAsciiCase(WithoutTrailingSeparators(tab.folder), WithoutTrailingSeparators(folder));
        });
        if (still) {
            shown.push_back(folder);
        }
    }
    return shown;
}

std::wstring StayedFilesLines(const std::vector<std::wstring>& paths, size_t shown)
{
    std::wstring lines;
    const size_t listed = std::min(paths.size(), shown);
    for (size_t i = 0; i < listed; ++i) {
        if (i > 0) {
            lines += L'\n';
        }
        lines += paths[i];
    }
    if (paths.size() > listed) {
        if (!lines.empty()) {
            lines += L'\n';
        }
        lines += L"\u2026 (+" + std::to_wstring(paths.size() - listed) + L")";
    }
    return lines;
}

std::vector<std::wstring> ContainersNoCadrelShows(const std::vector<MovePair>& moves,
                                                  const std::wstring& containerRoot,
                                                  const std::function<bool(const std::wstring&)>& shown)
{
    std::vector<std::wstring> missing;
    const std::wstring_view root = WithoutTrailingSeparators(containerRoot);
    for (const MovePair& move : moves) {
        const std::wstring_view from = move.from;
        if (root.empty() || !IsSameOrInside(move.from, containerRoot) || from.size() <= root.size() + 1) {
            continue;
        }
        // The first name under the root is the container; an item that is
        // itself a container folder goes back into the root, which is fine.
        const size_t end = from.find_first_of(L"\\/", root.size() + 1);
        if (end == std::wstring_view::npos || end + 1 >= from.size()) {
            continue;
        }
        std::wstring container(from.substr(0, end));
        const bool listed = std::any_of(missing.begin(), missing.end(), [&](const std::wstring& known) {
            return EqualsIgnoringAsciiCase(known, container);
        });
        if (!listed && !shown(container)) {
            missing.push_back(std::move(container));
        }
    }
    return missing;
}

}  // namespace cadrels
