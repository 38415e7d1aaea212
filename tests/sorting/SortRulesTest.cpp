// The meaning of a sorting rule, with file facts made up in memory.
#include "sorting/SortRules.h"

#include "FakeFileFacts.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

using testing::Day;
using testing::FakeFileFacts;
using testing::Hour;
using testing::MiB;
using testing::Now;

SortRule Simple(std::wstring exts, std::wstring name = {}, int olderDays = 0, int link = 0)
{
    SortRule rule;
    rule.enabled = true;
    rule.exts = std::move(exts);
    rule.name = std::move(name);
    rule.olderDays = olderDays;
    rule.link = link;
    return rule;
}

RuleCondition Condition(int k, std::wstring t, std::int64_t n = 0, int op = 0)
{
    return RuleCondition{k, op, std::move(t), n};
}

TEST(SplitExtensions, SeparatorsDotsCaseOrderAndDuplicates)
{
    struct Case {
        const wchar_t* text;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {L"JPG; .png ,gif", {L"jpg", L"png", L"gif"}},
        {L"  \t,;; ", {}},
        {L".", {}},
        {L"..tar", {L".tar"}},  // only one leading dot goes
        {L"pdf pdf\tPDF", {L"pdf", L"pdf", L"pdf"}},
        {L"a.b", {L"a.b"}},
        {L"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitExtensions(c.text), c.expected) << c.text;
    }
}

TEST(RuleExtension, OnlyADotInsideTheNameCounts)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\d\\a.JPG", L"jpg"},   {L"C:\\d\\.gitignore", L""}, {L"C:\\d\\report.", L""},
        {L"C:\\d.x\\noext", L""},    {L"C:/d/b.tar.GZ", L"gz"},   {L"name", L""},
        {L"C:\\d\\..", L""},          {L"x.y", L"y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RuleExtensionOf(c.path), c.expected) << c.path;
    }
    EXPECT_EQ(FileNameOf(L"C:\\a/b\\c.txt"), L"c.txt");
    EXPECT_EQ(FileNameOf(L"plain"), L"plain");
}

TEST(WildcardMatch, WholeNameCaseInsensitive)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* pattern;
        bool expected;
    };
    const Case cases[] = {
        {L"x.PDF", L"*.pdf", true},        {L"facture.txt", L"fact?re.txt", true},
        {L"facture.txt", L"fact?re", false}, {L"abc", L"*", true},
        {L"", L"*", true},                 {L"", L"?", false},
        {L"aXbXc", L"a*b*c", true},        {L"aXbXd", L"a*b*c", false},
        {L"mississippi", L"*sip*i", true}, {L"ab", L"a**?", true},
        {L"a", L"a**?", false},            {L"\u00e9t\u00e9.doc", L"\u00e9t?*", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.expected) << c.name << L" ~ " << c.pattern;
    }
}

TEST(RuleMatches, SimpleFormExtensionsAndNames)
{
    FakeFileFacts facts;
    const SortRule images = Simple(L"JPG; .png ,gif");
    for (const wchar_t* path : {L"C:\\d\\a.jpg", L"C:\\d\\b.PNG", L"C:\\d\\c.gif"}) {
        EXPECT_TRUE(RuleMatches(images, path, facts, Now)) << path;
    }
    EXPECT_FALSE(RuleMatches(images, L"C:\\d\\d.jpeg", facts, Now));
    EXPECT_FALSE(RuleMatches(images, L"C:\\d\\jpg", facts, Now));

    EXPECT_TRUE(RuleMatches(Simple(L"", L"facture"), L"C:\\d\\Facture-2024.pdf", facts, Now));
    EXPECT_FALSE(RuleMatches(Simple(L"", L"facture"), L"C:\\facture\\devis.pdf", facts, Now))
        << "only the name is searched, not the folder";
    EXPECT_TRUE(RuleMatches(Simple(L"", L"*.pdf"), L"C:\\d\\x.PDF", facts, Now));
    EXPECT_TRUE(RuleMatches(Simple(L"", L"fact?re.txt"), L"C:\\d\\facture.txt", facts, Now));
    EXPECT_FALSE(RuleMatches(Simple(L"", L"fact?re"), L"C:\\d\\facture.txt", facts, Now));

    // Both parts of the simple form must hold.
    const SortRule pdfInvoices = Simple(L"pdf", L"facture");
    EXPECT_TRUE(RuleMatches(pdfInvoices, L"C:\\d\\facture-1.pdf", facts, Now));
    EXPECT_FALSE(RuleMatches(pdfInvoices, L"C:\\d\\facture-1.docx", facts, Now));
    EXPECT_FALSE(RuleMatches(pdfInvoices, L"C:\\d\\devis.pdf", facts, Now));

    SortRule disabled = images;
    disabled.enabled = false;
    EXPECT_FALSE(RuleMatches(disabled, L"C:\\d\\a.jpg", facts, Now));
    EXPECT_FALSE(RuleMatches(Simple(L""), L"C:\\d\\a.jpg", facts, Now)) << "an empty rule matches nothing";
}

TEST(RuleMatches, ExplicitWildcardOperatorWithoutWildcardIsAWholeNameMatch)
{
    FakeFileFacts facts;
    SortRule rule;
    rule.enabled = true;
    rule.groups = {{Condition(RuleCondition::NamePattern, L"facture", 0, 1)}};
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\FACTURE", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\facture.pdf", facts, Now));
}

TEST(RuleMatches, NoExtensionMatchesNoExtensionCondition)
{
    FakeFileFacts facts;
    SortRule rule;
    rule.enabled = true;
    rule.groups = {{Condition(0, L"gitignore"), Condition(0, L"."), Condition(0, L"")}};
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\.gitignore", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\report.", facts, Now));
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\x.gitignore", facts, Now));
}

TEST(RuleMatches, GroupsAreAndConditionsAreOr)
{
    FakeFileFacts facts;
    facts.AddFile(L"C:\\d\\big.pdf", 6 * MiB);
    facts.AddFile(L"C:\\d\\small.pdf", 4 * MiB);
    facts.AddFile(L"C:\\d\\big.png", 6 * MiB);
    facts.AddFile(L"C:\\d\\big.docx", 6 * MiB);
    facts.AddFile(L"C:\\d\\exact.pdf", 5 * MiB);
    SortRule rule;
    rule.enabled = true;
    rule.exts = L"png";  // ignored: groups win
    rule.groups = {{Condition(0, L"pdf"), Condition(0, L"docx")}, {Condition(RuleCondition::SizeMiB, L"", 5, 0)}};
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\big.pdf", facts, Now));
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\big.docx", facts, Now));
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\exact.pdf", facts, Now)) << "at least 5 MiB includes 5 MiB";
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\small.pdf", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\big.png", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\gone.pdf", facts, Now)) << "an unreadable size is false";

    rule.groups[1][0].op = 1;  // at most 5 MiB
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\small.pdf", facts, Now));
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\exact.pdf", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\big.pdf", facts, Now));
}

TEST(RuleMatches, InactiveConditionsAndEmptyGroupsAreIgnored)
{
    FakeFileFacts facts;
    facts.AddFile(L"C:\\d\\a.pdf", 10);
    SortRule rule;
    rule.enabled = true;
    rule.groups = {{Condition(0, L"")}};
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\a.pdf", facts, Now)) << "the empty kind-0 condition";
    EXPECT_FALSE(TakesPart(rule));

    rule.groups = {{}, {Condition(1, L"")}, {Condition(0, L""), Condition(0, L"pdf")}};
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\a.pdf", facts, Now));
    EXPECT_TRUE(TakesPart(rule));

    // Size 0 and age 0 match every file whose facts can be read.
    rule.groups = {{Condition(RuleCondition::SizeMiB, L"", 0)}, {Condition(RuleCondition::MinAgeDays, L"", 0)}};
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\a.pdf", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\missing.pdf", facts, Now));
    rule.groups = {{Condition(99, L"pdf")}};
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\a.pdf", facts, Now)) << "an unknown kind is false";
}

TEST(RuleMatches, SizeOperandsAtTheLimitsStayDefined)
{
    FakeFileFacts facts;
    facts.AddFile(L"C:\\d\\a", 1);
    SortRule rule;
    rule.enabled = true;
    rule.groups = {{Condition(RuleCondition::SizeMiB, L"", INT64_MAX)}};
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\a", facts, Now));
    rule.groups[0][0].op = 1;
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\a", facts, Now));
    rule.groups[0][0].n = -3;
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\a", facts, Now));
    rule.groups[0][0].op = 0;
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\a", facts, Now));
}

TEST(RuleMatches, AgeCountsWholeDaysAndFutureFilesHaveNone)
{
    FakeFileFacts facts;
    facts.AddFile(L"C:\\d\\almost", 1, Now - 30 * Day + Hour);
    facts.AddFile(L"C:\\d\\thirty", 1, Now - 30 * Day);
    facts.AddFile(L"C:\\d\\future", 1, Now + Hour);
    const SortRule rule = Simple(L"", L"", 30);
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\almost", facts, Now)) << "29 days and 23 hours";
    EXPECT_TRUE(RuleMatches(rule, L"C:\\d\\thirty", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\future", facts, Now));
    EXPECT_FALSE(RuleMatches(rule, L"C:\\d\\missing", facts, Now));
    SortRule any;
    any.enabled = true;
    any.groups = {{Condition(RuleCondition::MinAgeDays, L"", 0)}};
    EXPECT_FALSE(RuleMatches(any, L"C:\\d\\future", facts, Now)) << "no age is not age 0";
}

TEST(ShortcutKind, FromTheLinkAndItsTarget)
{
    FakeFileFacts facts;
    facts.AddShortcut(L"C:\\d\\notepad.lnk", {true, L"C:\\windows\\NOTEPAD.EXE"});
    facts.AddShortcut(L"C:\\d\\script.lnk", {true, L"C:\\tools\\run.cmd"});
    facts.AddShortcut(L"C:\\d\\folder.lnk", {true, L"C:\\Projets"});
    facts.AddFolder(L"C:\\Projets");
    facts.AddShortcut(L"C:\\d\\dotted.lnk", {true, L"C:\\v1.exe"});
    facts.AddFolder(L"C:\\v1.exe");  // a folder whose name looks like a program
    facts.AddShortcut(L"C:\\d\\doc.lnk", {true, L"C:\\docs\\a.pdf"});
    facts.AddShortcut(L"C:\\d\\app.lnk", {true, L""});
    facts.AddShortcut(L"C:\\d\\broken.lnk", {false, L""});
    struct Case {
        const wchar_t* path;
        int expected;
    };
    const Case cases[] = {
        {L"C:\\d\\notepad.lnk", ShortcutProgram}, {L"C:\\d\\script.lnk", ShortcutProgram},
        {L"C:\\d\\folder.lnk", ShortcutFolder},   {L"C:\\d\\dotted.lnk", ShortcutFolder},
        {L"C:\\d\\doc.lnk", ShortcutNone},        {L"C:\\d\\app.lnk", ShortcutProgram},
        {L"C:\\d\\broken.lnk", ShortcutNone},     {L"C:\\d\\site.URL", ShortcutWebLink},
        {L"C:\\d\\notes.txt", ShortcutNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutKind(c.path, RuleExtensionOf(c.path), facts), c.expected) << c.path;
    }
    EXPECT_EQ(facts.shortcutCalls.count(L"C:\\d\\site.URL"), 0u) << "a .url is never loaded";
    EXPECT_EQ(facts.shortcutCalls.count(L"C:\\d\\notes.txt"), 0u);

    SortRule folders = Simple(L"", L"", 0, ShortcutFolder);
    EXPECT_TRUE(RuleMatches(folders, L"C:\\d\\folder.lnk", facts, Now));
    EXPECT_FALSE(RuleMatches(folders, L"C:\\d\\notepad.lnk", facts, Now));
    SortRule none;
    none.enabled = true;
    none.groups = {{Condition(RuleCondition::ShortcutKind, L"", 0)}};
    EXPECT_TRUE(RuleMatches(none, L"C:\\d\\doc.lnk", facts, Now));
    EXPECT_TRUE(RuleMatches(none, L"C:\\d\\notes.txt", facts, Now));
    EXPECT_FALSE(RuleMatches(none, L"C:\\d\\site.url", facts, Now));
    none.groups[0][0].n = (std::int64_t{7} << 32) | ShortcutWebLink;  // only the low 32 bits count
    EXPECT_TRUE(RuleMatches(none, L"C:\\d\\site.url", facts, Now));
}

TEST(EffectiveGroups, SimpleFormInItsOrder)
{
    const std::vector<std::vector<RuleCondition>> groups = EffectiveGroups(Simple(L"jpg,png", L"scan*", 7, 2));
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[0], (std::vector<RuleCondition>{Condition(0, L"jpg"), Condition(0, L"png")}));
    EXPECT_EQ(groups[1], (std::vector<RuleCondition>{Condition(1, L"scan*", 0, 1)}));
    EXPECT_EQ(groups[2], (std::vector<RuleCondition>{Condition(3, L"", 7)}));
    EXPECT_EQ(groups[3], (std::vector<RuleCondition>{Condition(4, L"", 2)}));
    EXPECT_EQ(EffectiveGroups(Simple(L"", L"scan")).at(0).at(0).op, 0);
    EXPECT_TRUE(EffectiveGroups(Simple(L" ; ", L"", -4, 0)) == (std::vector<std::vector<RuleCondition>>{{}}));
}

TEST(TakesPart, EnabledWithSomethingToTest)
{
    SortRule rule;
    EXPECT_FALSE(TakesPart(rule));
    rule.enabled = true;
    EXPECT_FALSE(TakesPart(rule));
    rule.olderDays = -1;
    EXPECT_FALSE(TakesPart(rule));
    for (SortRule simple : {Simple(L"pdf"), Simple(L"", L"x"), Simple(L"", L"", 1), Simple(L"", L"", 0, 3)}) {
        EXPECT_TRUE(TakesPart(simple));
        simple.enabled = false;
        EXPECT_FALSE(TakesPart(simple));
    }
    for (int kind : {2, 3, 4}) {
        rule.groups = {{Condition(kind, L"")}};
        EXPECT_TRUE(TakesPart(rule)) << kind;
    }
    rule.groups = {{Condition(1, L"")}, {}};
    EXPECT_FALSE(TakesPart(rule));
}

TEST(FileFactsCache, EachFactIsReadOnceForEveryRuleOffered)
{
    FakeFileFacts facts;
    facts.AddShortcut(L"C:\\d\\x.lnk", {true, L"C:\\p\\tool.exe"});
    std::vector<FilingCandidate> candidates;
    for (int i = 0; i < 5; ++i) {
        SortRule rule;
        rule.enabled = true;
        rule.groups = {{Condition(RuleCondition::SizeMiB, L"", 0)},
                       {Condition(RuleCondition::MinAgeDays, L"", 1)},
                       {Condition(RuleCondition::ShortcutKind, L"", 2)}};
        candidates.push_back(MakeCandidate(rule, L"C:\\c" + std::to_wstring(i)));
    }
    SortRule last;
    last.enabled = true;
    last.groups = {{Condition(RuleCondition::ShortcutKind, L"", 1)}, {Condition(RuleCondition::SizeMiB, L"", 0)}};
    candidates.push_back(MakeCandidate(last, L"C:\\last"));
    facts.AddFile(L"C:\\d\\x.lnk", 10, Now - 2 * Day);

    EXPECT_EQ(FirstMatchingCandidate(candidates, L"C:\\d\\x.lnk", facts, Now), 5);
    EXPECT_EQ(facts.statCalls[L"C:\\d\\x.lnk"], 1);
    EXPECT_EQ(facts.shortcutCalls[L"C:\\d\\x.lnk"], 1);
    EXPECT_EQ(facts.statCalls[L"C:\\p\\tool.exe"], 1) << "the target is looked at once too";
}

TEST(OrderCandidates, PriorityFirstThenCreationOrder)
{
    FakeFileFacts facts;
    SortRule pdf = Simple(L"pdf");
    std::vector<FilingCandidate> candidates = {MakeCandidate(pdf, L"first"), MakeCandidate(pdf, L"second")};
    OrderCandidates(candidates);
    ASSERT_EQ(FirstMatchingCandidate(candidates, L"C:\\d\\a.pdf", facts, Now), 0);
    EXPECT_EQ(candidates[0].destination, L"first");

    pdf.priority = 1;
    candidates.push_back(MakeCandidate(pdf, L"third"));
    pdf.priority = -2;
    candidates.insert(candidates.begin(), MakeCandidate(pdf, L"low"));
    candidates.push_back(MakeCandidate(Simple(L"pdf"), L"fourth"));
    OrderCandidates(candidates);
    std::vector<std::wstring> order;
    for (const FilingCandidate& candidate : candidates) {
        order.push_back(candidate.destination);
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"third", L"first", L"second", L"fourth", L"low"}));
    EXPECT_EQ(FirstMatchingCandidate(candidates, L"C:\\d\\a.pdf", facts, Now), 0);
    EXPECT_EQ(FirstMatchingCandidate(candidates, L"C:\\d\\a.png", facts, Now), -1);
}

}  // namespace
}  // namespace cadrels
