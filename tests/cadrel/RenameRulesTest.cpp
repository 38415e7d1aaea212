#include "cadrel/RenameRules.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(RenameRules, RefusedAndAcceptedNames)
{
    struct Case {
        const wchar_t* name;
        bool accepted;
    };
    const Case cases[] = {
        {L"rapport final.docx", true}, {L"CON.txt", false},    {L"con", false},     {L"Con.tar.gz", false},
        {L"a:b", false},               {L"name.", false},      {L"name ", false},   {L"", false},
        {L"COM1", false},              {L"lpt9.log", false},   {L"COM0", true},     {L"COM10", true},
        {L"CONSOLE.txt", true},        {L"a/b", false},        {L"a\\b", false},    {L"what?", false},
        {L"\"q\"", false},             {L"x<y>z", false},      {L"a|b", false},     {L"star*", false},
        {L".gitignore", true},         {L"nul.", false},       {L"Outil 2", true},  {L"AUX", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAcceptableNewName(c.name), c.accepted) << c.name;
    }
}

TEST(RenameRules, HiddenExtensionsComeBack)
{
    struct Case {
        const wchar_t* oldName;
        const wchar_t* newName;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"Outil.lnk", L"Outil 2", L"Outil 2.lnk"},
        {L"Outil.LNK", L"Outil 2.lnk", L"Outil 2.lnk"},
        {L"Site.url", L"Site neuf", L"Site neuf.url"},
        {L"a.txt", L"A.txt", L"A.txt"},
        {L"note.txt", L"note", L"note"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameKeepingHiddenExtension(c.oldName, c.newName), c.result) << c.oldName;
    }
}

TEST(RenameRules, TrimSplitAndSelection)
{
    EXPECT_EQ(TrimRenameText(L" \t nom  \t"), L"nom");
    EXPECT_EQ(TrimRenameText(L"   "), L"");
    EXPECT_EQ(TrimRenameText(L"a b"), L"a b");

    std::wstring parent;
    std::wstring name;
    ASSERT_TRUE(SplitParentAndName(L"C:\\x\\y.txt", parent, name));
    EXPECT_EQ(parent, L"C:\\x");
    EXPECT_EQ(name, L"y.txt");
    ASSERT_TRUE(SplitParentAndName(L"C:/x/dir", parent, name));
    EXPECT_EQ(name, L"dir");
    EXPECT_FALSE(SplitParentAndName(L"plain", parent, name));

    struct Case {
        const wchar_t* display;
        bool folder;
        int end;
    };
    const Case cases[] = {
        {L"rapport.docx", false, 7}, {L"archive.tar.gz", false, 11}, {L".profile", false, -1},
        {L"sans extension", false, -1}, {L"dossier.v2", true, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RenameSelection(c.display, c.folder), std::make_pair(0, c.end)) << c.display;
    }
}

}  // namespace
}  // namespace cadrels
