// Which "Cadrels.App" window a second start may forward to.
#include "app/InstanceIdentity.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

const ProcessIdentity Self{L"S-1-5-21-100-200-300-1001", L"C:\\Program Files\\Cadrels\\Cadrels.exe"};

TEST(InstanceIdentity, OnlyTheSameUserRunningTheSameProgramIsTrusted)
{
    struct Case {
        const char* what;
        std::optional<ProcessIdentity> other;
        InstanceCheck expected;
    };
    const Case cases[] = {
        {"itself", Self, InstanceCheck::Trusted},
        {"the path spelt otherwise",
         ProcessIdentity{Self.userSid, L"\\\\?\\c:/program files/CADRELS/cadrels.EXE"},
         InstanceCheck::Trusted},
        {"another user", ProcessIdentity{L"S-1-5-21-100-200-300-1002", Self.imagePath}, InstanceCheck::OtherUser},
        {"a user whose SID starts alike", ProcessIdentity{L"S-1-5-21-100-200-300-10011", Self.imagePath},
         InstanceCheck::OtherUser},
        {"another program", ProcessIdentity{Self.userSid, L"C:\\Users\\x\\Downloads\\Cadrels.exe"},
         InstanceCheck::OtherImage},
        {"a program whose path extends ours",
         ProcessIdentity{Self.userSid, L"C:\\Program Files\\Cadrels\\Cadrels.exe.evil.exe"}, InstanceCheck::OtherImage},
        {"another user and program", ProcessIdentity{L"S-1-5-18", L"C:\\x.exe"}, InstanceCheck::OtherUser},
        {"unreadable", std::nullopt, InstanceCheck::Unreadable},
        {"no SID", ProcessIdentity{L"", Self.imagePath}, InstanceCheck::Unreadable},
        {"no image", ProcessIdentity{Self.userSid, L""}, InstanceCheck::Unreadable},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckRunningInstance(Self, c.other), c.expected) << c.what;
    }
    // What this process cannot read of itself matches nothing, not even an
    // equally empty other.
    EXPECT_EQ(CheckRunningInstance(ProcessIdentity{}, ProcessIdentity{}), InstanceCheck::Unreadable);
    EXPECT_EQ(CheckRunningInstance(ProcessIdentity{Self.userSid, L""}, ProcessIdentity{Self.userSid, L""}),
              InstanceCheck::Unreadable);
}

TEST(InstanceIdentity, ImagePathsAreNormalisedWithoutLosingWhatTellsThemApart)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Cadrels\\Cadrels.exe", L"c:\\program files\\cadrels\\cadrels.exe"},
        {L"\\\\?\\C:\\A\\B.exe", L"c:\\a\\b.exe"},
        {L"\\??\\C:\\A\\B.exe", L"c:\\a\\b.exe"},
        {L"\\\\?\\UNC\\server\\share\\B.exe", L"\\\\server\\share\\b.exe"},
        {L"//server/share/B.exe", L"\\\\server\\share\\b.exe"},
        {L"Z:\\work\\\u00C9t\u00E9\\Cadrels.exe", L"z:\\work\\\u00C9t\u00E9\\cadrels.exe"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalisedImagePath(c.path), c.expected) << c.path;
    }
}

}  // namespace
}  // namespace cadrels
