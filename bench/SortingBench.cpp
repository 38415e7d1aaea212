// The filing pass at scale: scripts/bench.sh sorting_bench. 10,000 files in
// a Desktop-like folder against 50 cadrels whose rules mix every condition
// kind. Measures the matching alone (no moves) with the facts it reads, then
// a whole pass that moves the matching files into the 50 folders.
#include "sorting/FilingPass.h"
#include "sorting/ShellFileFacts.h"

#include "TestFiles.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <cstdio>
#include <string>
#include <vector>

namespace cadrels {
namespace {

constexpr int FileCount = 10000;
constexpr int CadrelCount = 50;

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool MakeShortcut(const std::wstring& path, const std::wstring& target)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) &&
           SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link.As(&file)) &&
           SUCCEEDED(file->Save(path.c_str(), TRUE));
}

RuleCondition Condition(int k, std::wstring t, std::int64_t n = 0, int op = 0)
{
    return RuleCondition{k, op, std::move(t), n};
}

// Ten rule shapes, five of each, most of them matching few files so that a
// typical file is offered to many rules before one takes it.
SortRule RuleFor(int index)
{
    SortRule rule;
    rule.enabled = true;
    const std::wstring tag = std::to_wstring(index);
    switch (index % 10) {
    case 0:
        rule.exts = L"x" + tag + L", .y" + tag + L"; z" + tag;
        break;
    case 1:
        rule.name = L"projet" + tag;
        break;
    case 2:
        rule.name = L"scan" + tag + L"_*.png";
        break;
    case 3:
        rule.groups = {{Condition(0, L"pdf"), Condition(0, L"docx")}, {Condition(2, L"", 1 + index, 0)}};
        break;
    case 4:
        rule.groups = {{Condition(0, L"log")}, {Condition(3, L"", 400 + index)}};
        break;
    case 5:
        rule.groups = {{Condition(4, L"", 2)}, {Condition(1, L"dossier" + tag)}};
        break;
    case 6:
        rule.exts = L"bak";
        rule.olderDays = 1000 + index;
        break;
    case 7:
        rule.groups = {{Condition(1, L"facture?" + tag, 0, 1), Condition(0, L"q" + tag)}};
        break;
    case 8:
        rule.groups = {{Condition(2, L"", 0, 1)}, {Condition(0, L"tmp" + tag)}};
        break;
    default:
        rule.link = 3;
        rule.name = L"lien" + tag;
        break;
    }
    // The last rules are the broad ones: everything not taken earlier.
    if (index == CadrelCount - 1) {
        rule = SortRule{};
        rule.enabled = true;
        rule.groups = {{Condition(2, L"", 0)}};
    }
    rule.priority = index % 3;
    return rule;
}

}  // namespace
}  // namespace cadrels

int main()
{
    using namespace cadrels;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 2;
    }
    const std::wstring root = testing::MakeTempFolder(L"sorting-bench");
    const std::wstring desk = root + L"\\desk";
    CreateDirectoryW(desk.c_str(), nullptr);
    std::vector<FilingCandidate> candidates;
    for (int i = 0; i < CadrelCount; ++i) {
        const std::wstring folder = root + L"\\cadrel" + std::to_wstring(i);
        CreateDirectoryW(folder.c_str(), nullptr);
        candidates.push_back(MakeCandidate(RuleFor(i), folder));
    }
    OrderCandidates(candidates);

    const wchar_t* extensions[] = {L"txt", L"png", L"pdf", L"docx", L"log", L"bak", L"jpg", L"zip", L"md", L"csv"};
    int shortcuts = 0;
    for (int i = 0; i < FileCount; ++i) {
        const std::wstring stem = desk + L"\\fichier" + std::to_wstring(i);
        if (i % 50 == 0) {
            shortcuts += MakeShortcut(stem + L".lnk", i % 100 == 0 ? root : root + L"\\outil.exe") ? 1 : 0;
        } else if (i % 50 == 1) {
            testing::WriteBytes(stem + L".url", "[InternetShortcut]\r\nURL=https://example.org/\r\n");
        } else {
            testing::WriteBytes(stem + L"." + extensions[i % 10], std::string(static_cast<size_t>(i % 7) * 100, 'x'));
        }
    }
    std::printf("Sorting: %d files (%d shortcuts) against %d cadrels\n", FileCount, shortcuts, CadrelCount);

    const auto listStart = std::chrono::steady_clock::now();
    const std::vector<ListedFile> files = ListMovableEntries(desk);
    const double listMs = MillisecondsSince(listStart);

    ShellFileFacts facts;
    const std::uint64_t now = UtcNow();
    std::vector<int> hits(CadrelCount + 1, 0);
    const auto matchStart = std::chrono::steady_clock::now();
    for (const ListedFile& listed : files) {
        FileFactsCache file(listed.path, facts);
        file.Seed(listed.stat);
        ++hits[static_cast<size_t>(FirstMatchingCandidate(candidates, file, now) + 1)];
    }
    const double matchMs = MillisecondsSince(matchStart);
    int matched = static_cast<int>(files.size()) - hits[0];
    int busiest = 0;
    for (int i = 1; i <= CadrelCount; ++i) {
        busiest = std::max(busiest, hits[static_cast<size_t>(i)]);
    }
    std::printf("Sorting: listing %zu files (with their sizes and dates) took %.1f ms\n", files.size(), listMs);
    std::printf("Sorting: matching alone took %.1f ms for %zu files (%d matched, %d unmatched, at most %d per "
                "cadrel); %llu attribute reads (shortcut targets), %llu shortcut loads\n",
                matchMs, files.size(), matched, hits[0], busiest, facts.AttributeReads(), facts.ShortcutLoads());

    // Where the time goes: the same matching with shortcuts already known
    // and the portable pattern match instead of the platform's.
    struct MemoFacts final : FileFacts {
        ShellFileFacts shell;
        std::map<std::wstring, ShortcutTarget> links;
        std::optional<FileStat> Stat(const std::wstring& path) override { return shell.Stat(path); }
        ShortcutTarget ReadShortcut(const std::wstring& path) override
        {
            auto found = links.find(path);
            if (found == links.end()) {
                found = links.emplace(path, shell.ReadShortcut(path)).first;
            }
            return found->second;
        }
        bool MatchesPattern(const std::wstring& name, const std::wstring& pattern) override
        {
            return usePlatform ? shell.MatchesPattern(name, pattern) : WildcardMatch(name, pattern);
        }
        bool usePlatform = true;
    } memo;
    for (const ListedFile& listed : files) {
        FileFactsCache file(listed.path, memo);
        file.Seed(listed.stat);
        FirstMatchingCandidate(candidates, file, now);
    }
    for (bool platform : {true, false}) {
        memo.usePlatform = platform;
        const auto start = std::chrono::steady_clock::now();
        for (const ListedFile& listed : files) {
            FileFactsCache file(listed.path, memo);
            file.Seed(listed.stat);
            FirstMatchingCandidate(candidates, file, now);
        }
        std::printf("Sorting: matching with shortcuts already loaded, %s pattern match: %.1f ms\n",
                    platform ? "PathMatchSpecW" : "portable", MillisecondsSince(start));
    }

    ShellFileFacts passFacts;
    const auto passStart = std::chrono::steady_clock::now();
    const FilingResult result = FileFolder(desk, candidates, passFacts, CreateMoveEngine, UtcNow());
    const double passMs = MillisecondsSince(passStart);
    std::printf("Sorting: whole pass with moves took %.1f ms: %zu files moved into %d folders (%s); "
                "%llu attribute reads, %llu shortcut loads\n",
                passMs, result.report.moved.size(), CadrelCount, result.report.succeeded ? "all queued moves done" : "some failed",
                passFacts.AttributeReads(), passFacts.ShortcutLoads());

    testing::RemoveTree(root);
    CoUninitialize();
    // Each shortcut loaded once, and only the shortcuts' targets read.
    const bool factsOnce = facts.ShortcutLoads() <= static_cast<unsigned long long>(shortcuts) &&
                           facts.AttributeReads() <= static_cast<unsigned long long>(shortcuts);
    return factsOnce && static_cast<int>(result.report.moved.size()) == matched ? 0 : 1;
}
