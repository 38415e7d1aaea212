#include "fileops/LaunchDirectory.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(LaunchDirectory, TheItemsOwnFolderOrTheDriveRoot)
{
    EXPECT_EQ(LaunchDirectory(L"C:\\Users\\Ana\\notes.txt"), L"C:\\Users\\Ana");
    EXPECT_EQ(LaunchDirectory(L"C:\\setup.exe"), L"C:\\") << "a file at the root runs in the root";
    EXPECT_EQ(LaunchDirectory(L"D:/tools/run.bat"), L"D:/tools");
    EXPECT_EQ(LaunchDirectory(L"\\\\server\\share\\doc.pdf"), L"\\\\server\\share");
    EXPECT_EQ(LaunchDirectory(L"notes.txt"), L"") << "no separator, no folder";
    EXPECT_EQ(LaunchDirectory(L""), L"");
    EXPECT_EQ(LaunchDirectory(L"C:\\Users\\Ana\\Report.LNK"), L"") << "shortcuts carry their own";
    EXPECT_EQ(LaunchDirectory(L"1:\\x"), L"1:") << "only a drive letter makes a root";
}

TEST(LaunchElevation, OnlyAStartTheUserAskedForMayAskForElevation)
{
    EXPECT_TRUE(MayRetryElevated(740, LaunchCause::UserAction));
    EXPECT_FALSE(MayRetryElevated(740, LaunchCause::Automatic)) << "hosting's own start never prompts";
    EXPECT_FALSE(MayRetryElevated(5, LaunchCause::UserAction)) << "access denied is not a request for elevation";
    EXPECT_FALSE(MayRetryElevated(0, LaunchCause::UserAction));
}

}  // namespace
}  // namespace cadrels
