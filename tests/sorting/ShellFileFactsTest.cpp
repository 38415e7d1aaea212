// The facts read from real files in the test prefix: shortcuts made with the
// shell link object, a .url file, attributes and the platform's pattern match.
#include "sorting/ShellFileFacts.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <wrl/client.h>

namespace cadrels {
namespace {

using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;

class ShellFileFactsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        root_ = MakeTempFolder(L"facts");
        ASSERT_FALSE(root_.empty());
    }
    void TearDown() override
    {
        RemoveTree(root_);
        CoUninitialize();
    }

    // A real shortcut, written by the shell link object.
    std::wstring MakeShortcut(const std::wstring& name, const std::wstring& target)
    {
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))));
        if (!link) {
            return {};
        }
        EXPECT_TRUE(SUCCEEDED(link->SetPath(target.c_str())));
        Microsoft::WRL::ComPtr<IPersistFile> file;
        EXPECT_TRUE(SUCCEEDED(link.As(&file)));
        const std::wstring path = root_ + L"\\" + name;
        EXPECT_TRUE(SUCCEEDED(file->Save(path.c_str(), TRUE)));
        return path;
    }

    // A shortcut to a shell item that is no file: the Control Panel.
    std::wstring MakeItemShortcut(const std::wstring& name)
    {
        Microsoft::WRL::ComPtr<IShellLinkW> link;
        EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))));
        PIDLIST_ABSOLUTE item = nullptr;
        EXPECT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_CONTROLS, &item)));
        if (!link || item == nullptr) {
            return {};
        }
        EXPECT_TRUE(SUCCEEDED(link->SetIDList(item)));
        CoTaskMemFree(item);
        Microsoft::WRL::ComPtr<IPersistFile> file;
        EXPECT_TRUE(SUCCEEDED(link.As(&file)));
        const std::wstring path = root_ + L"\\" + name;
        EXPECT_TRUE(SUCCEEDED(file->Save(path.c_str(), TRUE)));
        return path;
    }

    std::wstring root_;
};

TEST_F(ShellFileFactsTest, TheFourShortcutKindsFromRealFiles)
{
    const std::wstring folder = root_ + L"\\Projets";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(root_ + L"\\doc.pdf", "%PDF"));
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";

    struct Case {
        std::wstring path;
        int expected;
    };
    const std::vector<Case> cases = {
        {MakeShortcut(L"notepad.lnk", notepad), ShortcutProgram},
        {MakeShortcut(L"dossier.lnk", folder), ShortcutFolder},
        {MakeShortcut(L"document.lnk", root_ + L"\\doc.pdf"), ShortcutNone},
        // After a link with a path, one without: nothing of the previous
        // file may linger in the reused link object.
        {MakeItemShortcut(L"panneau.lnk"), ShortcutProgram},
        {root_ + L"\\site.url", ShortcutWebLink},
        {root_ + L"\\garbage.lnk", ShortcutNone},
        {MakeShortcut(L"dossier2.lnk", folder), ShortcutFolder},
    };
    ASSERT_TRUE(WriteBytes(root_ + L"\\site.url", "[InternetShortcut]\r\nURL=https://example.org/\r\n"));
    ASSERT_TRUE(WriteBytes(root_ + L"\\garbage.lnk", "not a shell link at all"));

    ShellFileFacts facts;
    for (const Case& c : cases) {
        ASSERT_FALSE(c.path.empty());
        EXPECT_EQ(ShortcutKind(c.path, RuleExtensionOf(c.path), facts), c.expected) << c.path;
    }
    EXPECT_EQ(facts.ShortcutLoads(), 6u) << "the .url is never loaded";

    SortRule programs;
    programs.enabled = true;
    programs.link = ShortcutProgram;
    EXPECT_TRUE(RuleMatches(programs, cases[0].path, facts, UtcNow()));
    EXPECT_FALSE(RuleMatches(programs, cases[1].path, facts, UtcNow()));
}

TEST_F(ShellFileFactsTest, AttributesSizeAndDates)
{
    const std::wstring path = root_ + L"\\six.bin";
    ASSERT_TRUE(WriteBytes(path, std::string(6 * 1024 * 1024 + 1, 'x')));
    ShellFileFacts facts;
    const std::optional<FileStat> stat = facts.Stat(path);
    ASSERT_TRUE(stat.has_value());
    EXPECT_EQ(stat->size, 6u * 1024 * 1024 + 1);
    EXPECT_FALSE(stat->directory);
    const std::uint64_t now = UtcNow();
    EXPECT_LE(stat->lastWrite, now);
    EXPECT_LT(now - stat->lastWrite, 60ULL * 10000000ULL);
    EXPECT_TRUE(facts.Stat(root_)->directory);
    EXPECT_FALSE(facts.Stat(root_ + L"\\missing").has_value());
    EXPECT_EQ(facts.AttributeReads(), 3u);

    // A file last written 29 days and 23 hours ago is not 30 days old.
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::uint64_t written = now - 30 * TicksPerDay + TicksPerDay / 24;
    FILETIME time{static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
    SortRule old;
    old.enabled = true;
    old.olderDays = 30;
    EXPECT_FALSE(RuleMatches(old, path, facts, now));
    EXPECT_TRUE(RuleMatches(old, path, facts, now + TicksPerDay / 24));
}

TEST_F(ShellFileFactsTest, PlatformPatternMatchAgreesWithThePortableOne)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* pattern;
    };
    const Case cases[] = {
        {L"x.PDF", L"*.pdf"},       {L"facture.txt", L"fact?re.txt"}, {L"facture.txt", L"fact?re"},
        {L"abc", L"a*c"},           {L"abc", L"a*d"},                 {L"Scan 001.png", L"scan*"},
        {L"mississippi", L"*sip*"}, {L"ab", L"?"},                    {L"a", L"??"},
    };
    ShellFileFacts facts;
    for (const Case& c : cases) {
        EXPECT_EQ(facts.MatchesPattern(c.name, c.pattern), WildcardMatch(c.name, c.pattern)) << c.name << L" ~ " << c.pattern;
    }
}

}  // namespace
}  // namespace cadrels
