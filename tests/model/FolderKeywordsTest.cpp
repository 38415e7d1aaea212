#include "model/FolderKeywords.h"

#include "TestFiles.h"

#include <knownfolders.h>

#include <gtest/gtest.h>

namespace cadrels::testing {
namespace {

std::wstring FakeFolders(const GUID& id)
{
    if (id == FOLDERID_Desktop) return L"C:\\Desk";
    if (id == FOLDERID_Documents) return L"C:\\Docs";
    if (id == FOLDERID_Downloads) return L"C:\\Down";
    if (id == FOLDERID_Pictures) return L"C:\\Pics";
    if (id == FOLDERID_Music) return L"C:\\Music";
    if (id == FOLDERID_Videos) return L"C:\\Vids";
    if (id == FOLDERID_Public) return L"C:\\Pub";
    if (id == FOLDERID_Profile) return L"C:\\Me";
    return {};  // ProgramData does not resolve here
}

class FolderKeywordTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetEnvironmentVariableW(L"CADRELS_KW", L"value")); }
    void TearDown() override { SetEnvironmentVariableW(L"CADRELS_KW", nullptr); }
};

TEST_F(FolderKeywordTest, ReplacesAKnownLeadingKeywordInAnyCaseThenExpandsVariables)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"{desktop}", L"C:\\Desk"},
        {L"{Desktop}", L"C:\\Desk"},
        {L"{BUREAU}\\%CADRELS_KW%", L"C:\\Desk\\value"},
        {L"{documents}\\Plans", L"C:\\Docs\\Plans"},
        {L"{TeleChargements}x", L"C:\\Downx"},
        {L"{downloads}", L"C:\\Down"},
        {L"{images}", L"C:\\Pics"},
        {L"{pictures}", L"C:\\Pics"},
        {L"{musique}", L"C:\\Music"},
        {L"{music}", L"C:\\Music"},
        {L"{video}", L"C:\\Vids"},
        {L"{videos}", L"C:\\Vids"},
        {L"{public}", L"C:\\Pub"},
        {L"{userprofile}\\a}b", L"C:\\Me\\a}b"},
        {L"{profile}", L"C:\\Me"},
        {L"{programdata}\\%CADRELS_KW%", L"{programdata}\\value"},
        {L"{other}\\%CADRELS_KW%", L"{other}\\value"},
        {L"{desktop", L"{desktop"},
        {L"x{desktop}", L"x{desktop}"},
        {L"{}", L"{}"},
        {L"%CADRELS_UNSET%\\{desktop}", L"%CADRELS_UNSET%\\{desktop}"},
        {L"", L""},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ResolveFolderKeyword(text, FakeFolders), expected) << text;
    }
}

TEST_F(FolderKeywordTest, KeepsTheTextWhenTheExpansionDoesNotFitIn1024Characters)
{
    ASSERT_TRUE(SetEnvironmentVariableW(L"CADRELS_KW", std::wstring(1020, L'v').c_str()));
    EXPECT_EQ(ExpandEnvironment(L"%CADRELS_KW%abc"), std::wstring(1020, L'v') + L"abc") << "1023 + NUL fits";
    EXPECT_EQ(ExpandEnvironment(L"%CADRELS_KW%abcd"), L"%CADRELS_KW%abcd");
    EXPECT_EQ(ResolveFolderKeyword(L"{desktop}\\%CADRELS_KW%", FakeFolders), L"C:\\Desk\\%CADRELS_KW%");
    ASSERT_TRUE(SetEnvironmentVariableW(L"CADRELS_KW", std::wstring(5000, L'v').c_str()));
    EXPECT_EQ(ExpandEnvironment(L"%CADRELS_KW%"), L"%CADRELS_KW%");
}

TEST_F(FolderKeywordTest, UsesTheUsersRealFolders)
{
    EXPECT_EQ(ResolveFolderKeyword(L"{Documents}\\Plans"), KnownFolderPath(FOLDERID_Documents) + L"\\Plans");
    EXPECT_EQ(ResolveFolderKeyword(L"{profile}"), KnownFolderPath(FOLDERID_Profile));
}

}  // namespace
}  // namespace cadrels::testing
