#include "sorting/SortRules.h"

#include <algorithm>
#include <cwctype>

namespace cadrels {
namespace {

wchar_t Lower(wchar_t c)
{
    return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

std::wstring Lowered(std::wstring_view text)
{
    std::wstring out(text);
    for (wchar_t& c : out) {
        c = Lower(c);
    }
    return out;
}

bool HasWildcard(std::wstring_view text)
{
    return text.find_first_of(L"*?") != std::wstring_view::npos;
}

bool ConditionHolds(const CompiledCondition& condition, FileFactsCache& file, std::uint64_t now)
{
    switch (condition.k) {
    case RuleCondition::Extensions: {
        const std::wstring& extension = file.Extension();
        return !extension.empty() &&
               std::find(condition.extensions.begin(), condition.extensions.end(), extension) !=
                   condition.extensions.end();
    }
    case RuleCondition::NamePattern:
        if (condition.wildcard) {
            return file.MatchesPattern(condition.text);
        }
        return file.LowerName().find(condition.text) != std::wstring::npos;
    case RuleCondition::SizeMiB: {
        const std::optional<FileStat>& stat = file.Stat();
        if (!stat) {
            return false;
        }
        // A negative or huge operand must not shift into undefined behaviour:
        // below zero every size is at least it, from 2^44 MiB on none is.
        if (condition.n < 0) {
            return !condition.atMost;
        }
        if (condition.n >= (std::int64_t{1} << 44)) {
            return condition.atMost;
        }
        const std::uint64_t bytes = static_cast<std::uint64_t>(condition.n) << 20;
        return condition.atMost ? stat->size <= bytes : stat->size >= bytes;
    }
    case RuleCondition::MinAgeDays: {
        const std::optional<FileStat>& stat = file.Stat();
        // A file dated in the future has no age.
        if (!stat || now < stat->lastWrite) {
            return false;
        }
        const std::uint64_t days = (now - stat->lastWrite) / TicksPerDay;
        return condition.n <= 0 || days >= static_cast<std::uint64_t>(condition.n);
    }
    case RuleCondition::ShortcutKind:
        return static_cast<std::uint32_t>(condition.n) == static_cast<std::uint32_t>(file.Shortcut());
    default:
        return false;
    }
}

}  // namespace

bool FileFacts::MatchesPattern(const std::wstring& name, const std::wstring& pattern)
{
    return WildcardMatch(name, pattern);
}

bool WildcardMatch(std::wstring_view name, std::wstring_view pattern)
{
    // Greedy with one back-track point: linear in practice, and no recursion
    // that a pattern of many stars could blow up.
    size_t n = 0;
    size_t s = 0;
    size_t starAt = std::wstring_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (s < pattern.size() && (pattern[s] == L'?' || (pattern[s] != L'*' && Lower(pattern[s]) == Lower(name[n])))) {
            ++n;
            ++s;
        } else if (s < pattern.size() && pattern[s] == L'*') {
            starAt = s++;
            starName = n;
        } else if (starAt != std::wstring_view::npos) {
            s = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (s < pattern.size() && pattern[s] == L'*') {
        ++s;
    }
    return s == pattern.size();
}

std::vector<std::wstring> SplitExtensions(std::wstring_view text)
{
    std::vector<std::wstring> out;
    std::wstring token;
    auto flush = [&] {
        std::wstring_view view = token;
        if (!view.empty() && view.front() == L'.') {
            view.remove_prefix(1);
        }
        if (!view.empty()) {
            out.push_back(Lowered(view));
        }
        token.clear();
    };
    for (wchar_t c : text) {
        if (c == L' ' || c == L'\t' || c == L',' || c == L';') {
            flush();
        } else {
            token.push_back(c);
        }
    }
    flush();
    return out;
}

std::wstring FileNameOf(std::wstring_view path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring RuleExtensionOf(std::wstring_view path)
{
    const std::wstring name = FileNameOf(path);
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos || dot == 0 || dot + 1 == name.size()) {
        return {};
    }
    return Lowered(std::wstring_view(name).substr(dot + 1));
}

std::vector<std::vector<RuleCondition>> EffectiveGroups(const SortRule& rule)
{
    if (!rule.groups.empty()) {
        return rule.groups;
    }
    std::vector<std::vector<RuleCondition>> groups;
    if (!rule.exts.empty()) {
        std::vector<RuleCondition> group;
        for (std::wstring& extension : SplitExtensions(rule.exts)) {
            group.push_back(RuleCondition{RuleCondition::Extensions, 0, std::move(extension), 0});
        }
        groups.push_back(std::move(group));
    }
    if (!rule.name.empty()) {
        groups.push_back({RuleCondition{RuleCondition::NamePattern, HasWildcard(rule.name) ? 1 : 0, rule.name, 0}});
    }
    if (rule.olderDays > 0) {
        groups.push_back({RuleCondition{RuleCondition::MinAgeDays, 0, {}, rule.olderDays}});
    }
    if (rule.link != 0) {
        groups.push_back({RuleCondition{RuleCondition::ShortcutKind, 0, {}, rule.link}});
    }
    return groups;
}

bool ConditionActive(const RuleCondition& condition)
{
    if (condition.k == RuleCondition::Extensions || condition.k == RuleCondition::NamePattern) {
        return !condition.t.empty();
    }
    return true;
}

bool TakesPart(const SortRule& rule)
{
    if (!rule.enabled) {
        return false;
    }
    for (const std::vector<RuleCondition>& group : rule.groups) {
        for (const RuleCondition& condition : group) {
            if (condition.k == RuleCondition::SizeMiB || condition.k == RuleCondition::MinAgeDays ||
                condition.k == RuleCondition::ShortcutKind || !condition.t.empty()) {
                return true;
            }
        }
    }
    return !rule.exts.empty() || !rule.name.empty() || rule.olderDays > 0 || rule.link != 0;
}

int ShortcutKind(const std::wstring& path, const std::wstring& extension, FileFacts& facts)
{
    if (extension == L"url") {
        return ShortcutWebLink;
    }
    if (extension != L"lnk") {
        return ShortcutNone;
    }
    const ShortcutTarget target = facts.ReadShortcut(path);
    if (!target.loaded) {
        return ShortcutNone;
    }
    // A link to a shell item (an installed application) has no file path.
    if (target.path.empty()) {
        return ShortcutProgram;
    }
    const std::optional<FileStat> stat = facts.Stat(target.path);
    if (stat && stat->directory) {
        return ShortcutFolder;
    }
    const std::wstring targetExtension = RuleExtensionOf(target.path);
    if (targetExtension == L"exe" || targetExtension == L"bat" || targetExtension == L"cmd" ||
        targetExtension == L"com") {
        return ShortcutProgram;
    }
    return ShortcutNone;
}

const std::wstring& FileFactsCache::Name()
{
    if (!name_) {
        name_ = FileNameOf(path_);
    }
    return *name_;
}

const std::wstring& FileFactsCache::Extension()
{
    if (!extension_) {
        extension_ = RuleExtensionOf(path_);
    }
    return *extension_;
}

const std::wstring& FileFactsCache::LowerName()
{
    if (!lowerName_) {
        lowerName_ = Lowered(Name());
    }
    return *lowerName_;
}

const std::optional<FileStat>& FileFactsCache::Stat()
{
    if (!statRead_) {
        stat_ = facts_.Stat(path_);
        statRead_ = true;
    }
    return stat_;
}

int FileFactsCache::Shortcut()
{
    if (!shortcut_) {
        shortcut_ = ShortcutKind(path_, Extension(), facts_);
    }
    return *shortcut_;
}

CompiledRule CompileRule(const SortRule& rule)
{
    CompiledRule compiled;
    compiled.enabled = rule.enabled;
    for (const std::vector<RuleCondition>& group : EffectiveGroups(rule)) {
        std::vector<CompiledCondition> conditions;
        for (const RuleCondition& condition : group) {
            if (!ConditionActive(condition)) {
                continue;
            }
            CompiledCondition made;
            made.k = condition.k;
            made.n = condition.n;
            made.atMost = condition.op == 1;
            if (condition.k == RuleCondition::Extensions) {
                made.extensions = SplitExtensions(condition.t);
            } else if (condition.k == RuleCondition::NamePattern) {
                made.wildcard = condition.op == 1 || HasWildcard(condition.t);
                made.text = made.wildcard ? condition.t : Lowered(condition.t);
            }
            conditions.push_back(std::move(made));
        }
        if (!conditions.empty()) {
            compiled.groups.push_back(std::move(conditions));
        }
    }
    return compiled;
}

bool RuleMatches(const CompiledRule& rule, FileFactsCache& file, std::uint64_t now)
{
    if (!rule.enabled || rule.groups.empty()) {
        return false;
    }
    for (const std::vector<CompiledCondition>& group : rule.groups) {
        const bool holds = std::any_of(group.begin(), group.end(), [&](const CompiledCondition& condition) {
            return ConditionHolds(condition, file, now);
        });
        if (!holds) {
            return false;
        }
    }
    return true;
}

bool RuleMatches(const SortRule& rule, const std::wstring& path, FileFacts& facts, std::uint64_t now)
{
    if (!rule.enabled) {
        return false;
    }
    FileFactsCache file(path, facts);
    return RuleMatches(CompileRule(rule), file, now);
}

FilingCandidate MakeCandidate(const SortRule& rule, std::wstring destination)
{
    return FilingCandidate{rule.priority, CompileRule(rule), std::move(destination)};
}

void OrderCandidates(std::vector<FilingCandidate>& candidates)
{
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const FilingCandidate& a, const FilingCandidate& b) { return a.priority > b.priority; });
}

int FirstMatchingCandidate(const std::vector<FilingCandidate>& candidates, const std::wstring& path, FileFacts& facts,
                           std::uint64_t now)
{
    FileFactsCache file(path, facts);
    return FirstMatchingCandidate(candidates, file, now);
}

int FirstMatchingCandidate(const std::vector<FilingCandidate>& candidates, FileFactsCache& file, std::uint64_t now)
{
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (RuleMatches(candidates[i].rule, file, now)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace cadrels
