#include "windows/HostingRules.h"

#include "i18n/TextEncoding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <limits>

namespace cadrels {
namespace {

std::wstring Lower(std::wstring_view text)
{
    std::wstring lower(text);
    for (wchar_t& c : lower) {
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    }
    return lower;
}

constexpr std::array<std::wstring_view, 7> BrowserFileNames = {
    L"msedge.exe", L"chrome.exe", L"brave.exe", L"opera.exe", L"vivaldi.exe", L"firefox.exe", L"chrome_proxy.exe",
};

bool Intersects(const PixelRect& a, const PixelRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// Squared gap between two rectangles, 0 when they overlap or touch.
long long Gap(const PixelRect& a, const PixelRect& b)
{
    const long long dx = std::max({0LL, static_cast<long long>(b.left) - a.right,
                                   static_cast<long long>(a.left) - b.right});
    const long long dy = std::max({0LL, static_cast<long long>(b.top) - a.bottom,
                                   static_cast<long long>(a.top) - b.bottom});
    return dx * dx + dy * dy;
}

struct Best {
    int count = 0;
    const HostableCandidate* first = nullptr;
    const HostableCandidate* best = nullptr;
    int bestScore = -1;

    void Offer(const HostableCandidate& candidate, int score)
    {
        ++count;
        if (first == nullptr) {
            first = &candidate;
        }
        if (score > bestScore) {
            best = &candidate;
            bestScore = score;
        }
    }
};

}  // namespace

int TitleSimilarity(std::wstring_view a, std::wstring_view b)
{
    if (a.empty() || b.empty()) {
        return 0;
    }
    const std::wstring x = Lower(a);
    const std::wstring y = Lower(b);
    if (x == y) {
        return 1000;
    }
    if (x.find(y) != std::wstring::npos || y.find(x) != std::wstring::npos) {
        return 700;
    }
    const auto mismatch = std::mismatch(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(std::min(x.size(), y.size())),
                                        y.begin());
    const int prefix = static_cast<int>(mismatch.first - x.begin());
    return prefix >= 4 ? prefix : 0;
}

std::wstring ExecutableFileName(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return Lower(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

bool IsBrowserExecutable(std::wstring_view path)
{
    const std::wstring name = ExecutableFileName(path);
    return std::find(BrowserFileNames.begin(), BrowserFileNames.end(), name) != BrowserFileNames.end();
}

bool IsPackagedPath(std::wstring_view path)
{
    return Lower(path).find(L"\\windowsapps\\") != std::wstring::npos;
}

std::optional<std::uintptr_t> ChooseHostableWindow(const std::vector<HostableCandidate>& candidates,
                                                   std::wstring_view title, bool browser)
{
    Best strong;
    Best weak;
    for (const HostableCandidate& candidate : candidates) {
        const int score = TitleSimilarity(candidate.title, title);
        if (candidate.strong) {
            strong.Offer(candidate, score);
            if (score == 1000) {
                break;
            }
        } else if (candidate.weak) {
            weak.Offer(candidate, score);
        }
    }
    if (strong.best != nullptr && strong.bestScore >= 1) {
        return strong.best->window;
    }
    const bool weakAlike = weak.best != nullptr && weak.bestScore >= 1;
    if (browser) {
        return weakAlike ? std::optional(weak.best->window) : std::nullopt;
    }
    if (strong.first != nullptr) {
        return strong.first->window;
    }
    if (weakAlike) {
        return weak.best->window;
    }
    if (weak.count == 1) {
        return weak.first->window;
    }
    return std::nullopt;
}

PixelRect FitOntoMonitor(const PixelRect& rect, const std::vector<ScreenArea>& screens)
{
    if (screens.empty()) {
        return rect;
    }
    const ScreenArea* nearest = nullptr;
    long long nearestGap = std::numeric_limits<long long>::max();
    for (const ScreenArea& screen : screens) {
        if (Intersects(rect, screen.bounds)) {
            return rect;
        }
        const long long gap = Gap(rect, screen.bounds);
        if (gap < nearestGap) {
            nearestGap = gap;
            nearest = &screen;
        }
    }
    const PixelRect& work = nearest->work;
    const int width = std::clamp(rect.Width(), 0, std::max(0, work.Width()));
    const int height = std::clamp(rect.Height(), 0, std::max(0, work.Height()));
    const int left = std::max(work.left, std::min(rect.left, work.right - width));
    const int top = std::max(work.top, std::min(rect.top, work.bottom - height));
    return RectFromSize(left, top, width, height);
}

bool HostedWindowStrayed(PixelPoint windowTopLeft, PixelPoint areaTopLeft, bool maximized, float scale)
{
    if (maximized) {
        return true;
    }
    const float tolerance = 6.0f * scale;
    return static_cast<float>(std::abs(windowTopLeft.x - areaTopLeft.x)) > tolerance ||
           static_cast<float>(std::abs(windowTopLeft.y - areaTopLeft.y)) > tolerance;
}

HostedExecutables HostedExecutables::Parse(std::string_view text)
{
    HostedExecutables list;
    size_t start = 0;
    while (start < text.size() && list.paths_.size() < MaxEntries) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        start = end + 1;
        const size_t tab = line.find('\t');
        const std::wstring path = Utf8ToWide(line.substr(0, tab));
        const std::wstring appId = tab == std::string_view::npos ? std::wstring() : Utf8ToWide(line.substr(tab + 1));
        // Only absolute paths name an executable; anything else is debris.
        const bool absolute = path.size() > 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
        const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
        if ((absolute || unc) && appId.find(L'\t') == std::wstring::npos && !list.Contains(path, appId)) {
            list.paths_.push_back(path);
            list.appIds_.push_back(appId);
        }
    }
    return list;
}

std::string HostedExecutables::Format() const
{
    std::string text;
    for (size_t i = 0; i < paths_.size(); ++i) {
        text += WideToUtf8(paths_[i]);
        if (!appIds_[i].empty()) {
            text += '\t';
            text += WideToUtf8(appIds_[i]);
        }
        text += "\r\n";
    }
    return text;
}

bool HostedExecutables::Contains(std::wstring_view path, std::wstring_view appId) const
{
    const std::wstring lowerPath = Lower(path);
    const std::wstring lowerId = Lower(appId);
    for (size_t i = 0; i < paths_.size(); ++i) {
        if (Lower(paths_[i]) == lowerPath && Lower(appIds_[i]) == lowerId) {
            return true;
        }
    }
    return false;
}

bool HostedExecutables::Add(std::wstring_view path, std::wstring_view appId)
{
    if (path.empty() || path.find_first_of(L"\r\n\t") != std::wstring_view::npos ||
        appId.find_first_of(L"\r\n\t") != std::wstring_view::npos || Contains(path, appId)) {
        return false;
    }
    paths_.insert(paths_.begin(), std::wstring(path));
    appIds_.insert(appIds_.begin(), std::wstring(appId));
    if (paths_.size() > MaxEntries) {
        paths_.resize(MaxEntries);
        appIds_.resize(MaxEntries);
    }
    return true;
}

bool IsSafeAppId(std::wstring_view id)
{
    return !id.empty() && id.find(L"..") == std::wstring_view::npos && id.find_first_of(L"\\/") == std::wstring_view::npos;
}

bool UncoveredInStack(const std::vector<StackedWindow>& fromTop, std::uintptr_t target, std::uintptr_t moved)
{
    for (const StackedWindow& stacked : fromTop) {
        if (stacked.window == target) {
            return true;
        }
        if (stacked.window != moved && stacked.coversPoint) {
            return false;
        }
    }
    return false;
}

}  // namespace cadrels
