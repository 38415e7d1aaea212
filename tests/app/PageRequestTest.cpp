#include "app/PageRequest.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(PageRequest, ReadsEachActionWithItsIndexAndText)
{
    struct Case {
        std::wstring text;
        PageRequest expected;
    };
    const Case cases[] = {
        {L"new\tProjets 2024", {PageAction::NewPage, -1, L"Projets 2024"}},
        {L"rename\t2\tTravail", {PageAction::RenamePage, 2, L"Travail"}},
        {L"delete\t0", {PageAction::DeletePage, 0, L""}},
        {L"switch\t999999", {PageAction::SwitchPage, 999999, L""}},
        {L"snapshot\tAvant: test?", {PageAction::TakeSnapshot, -1, L"Avant: test?"}},
        {L"restore\tC:\\Users\\é\\snap_x.json", {PageAction::RestoreSnapshot, -1, L"C:\\Users\\é\\snap_x.json"}},
        {L"restore-backup\tD:\\b\\Cadrels-backup-20240315-142501.json",
         {PageAction::RestoreBackup, -1, L"D:\\b\\Cadrels-backup-20240315-142501.json"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParsePageRequest(c.text), std::optional<PageRequest>(c.expected)) << c.text;
        EXPECT_EQ(PageRequestText(c.expected), c.text);
    }
}

TEST(PageRequest, RefusesWhatNoSenderOfOursWrites)
{
    for (const wchar_t* text :
         {L"", L"new", L"new\t", L"switch", L"switch\t", L"switch\t-1", L"switch\t1000000", L"switch\t+1",
          L"switch\t1 ", L"switch\t1\tx", L"delete\tun", L"rename\t1", L"rename\t1\t", L"rename\tx\tNom",
          L"restore\ta\tb", L"snapshot\tligne\nsuite", L"Switch\t1", L"quit\t1", L"\tnew\tx"}) {
        EXPECT_FALSE(ParsePageRequest(text)) << text;
    }
}

TEST(PageRequest, LockedCadrelsAllowOnlyASnapshot)
{
    const PageAction all[] = {PageAction::NewPage,    PageAction::RenamePage,   PageAction::DeletePage,
                              PageAction::SwitchPage, PageAction::TakeSnapshot, PageAction::RestoreSnapshot};
    for (PageAction action : all) {
        EXPECT_TRUE(PageActionAllowed(action, false)) << static_cast<int>(action);
        EXPECT_EQ(PageActionAllowed(action, true), action == PageAction::TakeSnapshot) << static_cast<int>(action);
    }
}

}  // namespace
}  // namespace cadrels
