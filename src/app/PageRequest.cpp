#include "app/PageRequest.h"

#include <array>

namespace cadrels {
namespace {

struct ActionShape {
    PageAction action;
    std::wstring_view verb;
    bool hasIndex;
    bool hasText;
};

constexpr std::array<ActionShape, 7> Shapes = {{
    {PageAction::NewPage, L"new", false, true},
    {PageAction::RenamePage, L"rename", true, true},
    {PageAction::DeletePage, L"delete", true, false},
    {PageAction::SwitchPage, L"switch", true, false},
    {PageAction::TakeSnapshot, L"snapshot", false, true},
    {PageAction::RestoreSnapshot, L"restore", false, true},
    {PageAction::RestoreBackup, L"restore-backup", false, true},
}};

constexpr size_t MaxIndexDigits = 6;

std::optional<int> ParseIndex(std::wstring_view text)
{
    if (text.empty() || text.size() > MaxIndexDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (c - L'0');
    }
    return value;
}

}  // namespace

std::optional<PageRequest> ParsePageRequest(std::wstring_view text)
{
    const size_t verbEnd = text.find(L'\t');
    const std::wstring_view verb = text.substr(0, verbEnd);
    std::wstring_view rest = verbEnd == std::wstring_view::npos ? std::wstring_view() : text.substr(verbEnd + 1);
    for (const ActionShape& shape : Shapes) {
        if (shape.verb != verb) {
            continue;
        }
        if (verbEnd == std::wstring_view::npos) {
            return std::nullopt;
        }
        PageRequest request;
        request.action = shape.action;
        if (shape.hasIndex) {
            const size_t indexEnd = rest.find(L'\t');
            if ((indexEnd != std::wstring_view::npos) != shape.hasText) {
                return std::nullopt;
            }
            const std::optional<int> index = ParseIndex(rest.substr(0, indexEnd));
            if (!index) {
                return std::nullopt;
            }
            request.index = *index;
            rest = shape.hasText ? rest.substr(indexEnd + 1) : std::wstring_view();
        }
        if (shape.hasText) {
            // A name or a path holds no tab or line break; one that does was
            // not written by a sender of ours.
            if (rest.empty() || rest.find_first_of(L"\t\r\n") != std::wstring_view::npos) {
                return std::nullopt;
            }
            request.text = std::wstring(rest);
        }
        return request;
    }
    return std::nullopt;
}

std::wstring PageRequestText(const PageRequest& request)
{
    for (const ActionShape& shape : Shapes) {
        if (shape.action == request.action) {
            std::wstring text(shape.verb);
            if (shape.hasIndex) {
                text += L'\t' + std::to_wstring(request.index);
            }
            if (shape.hasText) {
                text += L'\t' + request.text;
            }
            return text;
        }
    }
    return {};
}

bool PageActionAllowed(PageAction action, bool cadrelsLocked)
{
    return !cadrelsLocked || action == PageAction::TakeSnapshot;
}

}  // namespace cadrels
