// What a cadrel's sorting rule means: its simple and advanced forms, the
// condition kinds and their tests against one file, and which cadrels take
// part in a filing pass in which order. Plain functions over plain values;
// what must be read from the disk (size, dates, shortcut targets) comes
// through FileFacts, so the matching is tested with facts made up in memory.
#pragma once

#include "model/Records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

enum ShortcutKindValue : int {
    ShortcutNone = 0,     // not a shortcut, or a shortcut to a document
    ShortcutProgram = 1,
    ShortcutFolder = 2,
    ShortcutWebLink = 3,
};

// What the attributes of a file say, times in 100-ns units since 1601 (UTC).
struct FileStat {
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;
    bool directory = false;
};

// A shortcut file as the shell link object reads it.
struct ShortcutTarget {
    // False when the link object could not be created or could not load the file.
    bool loaded = false;
    // Empty when the link names a shell item rather than a path (an installed
    // application), or when asking for the path failed.
    std::wstring path;
};

class FileFacts {
public:
    virtual ~FileFacts() = default;
    // Nothing when the attributes cannot be read (the file vanished, access denied).
    virtual std::optional<FileStat> Stat(const std::wstring& path) = 0;
    virtual ShortcutTarget ReadShortcut(const std::wstring& path) = 0;
    // Case-insensitive wildcard match of a whole name with `*` and `?`.
    virtual bool MatchesPattern(const std::wstring& name, const std::wstring& pattern);
};

// The portable wildcard match: case-insensitive (per character, towlower),
// `*` any run of characters, `?` exactly one.
bool WildcardMatch(std::wstring_view name, std::wstring_view pattern);

// Space, tab, comma and semicolon separate; one leading dot goes; lower-cased;
// order and duplicates kept.
std::vector<std::wstring> SplitExtensions(std::wstring_view text);

// The text after the last "\" or "/", or the whole path.
std::wstring FileNameOf(std::wstring_view path);
// Lower-cased text after the last "." of the name, empty when that "." is
// the first or the last character of the name (".gitignore", "report.").
std::wstring RuleExtensionOf(std::wstring_view path);

std::vector<std::vector<RuleCondition>> EffectiveGroups(const SortRule& rule);
bool ConditionActive(const RuleCondition& condition);
bool TakesPart(const SortRule& rule);

// 100-ns units in a day.
inline constexpr std::uint64_t TicksPerDay = 864000000000ULL;

// The kind of the file at `path` whose extension (as RuleExtensionOf gives
// it) is `extension`: a ".url" is a web link; a ".lnk" is resolved.
int ShortcutKind(const std::wstring& path, const std::wstring& extension, FileFacts& facts);

// The facts of one file, each asked of FileFacts on first use only and then
// kept: every condition of every rule offered the file shares them, so a
// filing pass reads a file's attributes and loads a shortcut at most once.
class FileFactsCache {
public:
    FileFactsCache(const std::wstring& path, FileFacts& facts) : path_(path), facts_(facts) {}

    const std::wstring& Path() const { return path_; }
    const std::wstring& Name();
    // As RuleExtensionOf.
    const std::wstring& Extension();
    // The name lower-cased, for the "contains" test.
    const std::wstring& LowerName();
    const std::optional<FileStat>& Stat();
    // What a directory listing already said about the file: no read needed.
    void Seed(const FileStat& stat)
    {
        stat_ = stat;
        statRead_ = true;
    }
    int Shortcut();
    bool MatchesPattern(const std::wstring& pattern) { return facts_.MatchesPattern(Name(), pattern); }

private:
    const std::wstring& path_;
    FileFacts& facts_;
    std::optional<std::wstring> name_;
    std::optional<std::wstring> extension_;
    std::optional<std::wstring> lowerName_;
    bool statRead_ = false;
    std::optional<FileStat> stat_;
    std::optional<int> shortcut_;
};

// A rule made ready for matching many files: only its active conditions,
// extension lists split and name texts lower-cased once instead of at each
// test. Groups without an active condition are gone; a rule left with no
// group never matches.
struct CompiledCondition {
    int k = 0;
    bool wildcard = false;
    bool atMost = false;
    std::wstring text;  // the pattern as written, or lower-cased for "contains"
    std::vector<std::wstring> extensions;
    std::int64_t n = 0;
};

struct CompiledRule {
    bool enabled = false;
    std::vector<std::vector<CompiledCondition>> groups;
};

CompiledRule CompileRule(const SortRule& rule);
bool RuleMatches(const CompiledRule& rule, FileFactsCache& file, std::uint64_t now);

// `now` is the current UTC time in 100-ns units since 1601. The size, the
// dates and the shortcut kind are asked of `facts` at most once per call.
bool RuleMatches(const SortRule& rule, const std::wstring& path, FileFacts& facts, std::uint64_t now);

// A cadrel taking part in a filing pass: its rule and where its files go.
struct FilingCandidate {
    int priority = 0;
    CompiledRule rule;
    std::wstring destination;
};

FilingCandidate MakeCandidate(const SortRule& rule, std::wstring destination);

// Highest priority first; equal priorities keep their order (creation order).
void OrderCandidates(std::vector<FilingCandidate>& candidates);

// The index of the first candidate whose rule matches, or -1.
int FirstMatchingCandidate(const std::vector<FilingCandidate>& candidates, FileFactsCache& file, std::uint64_t now);
int FirstMatchingCandidate(const std::vector<FilingCandidate>& candidates, const std::wstring& path, FileFacts& facts,
                           std::uint64_t now);

}  // namespace cadrels
