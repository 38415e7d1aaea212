#include "app/SendToBatch.h"
#include "app/SendToList.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(SendToBatch, PathsArrivingTogetherFormOneBatch)
{
    SendToBatch batch;
    const POINT first{10, 20};
    EXPECT_TRUE(batch.Add(L"a", first, 1000));
    EXPECT_TRUE(batch.Add(L"b", POINT{99, 99}, 1100));
    EXPECT_TRUE(batch.Add(L"c", POINT{99, 99}, 1500));
    EXPECT_EQ(batch.Cursor().x, 10) << "the cursor of the first path is kept";
    EXPECT_EQ(batch.Take(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_TRUE(batch.Empty());
    EXPECT_TRUE(batch.Take().empty());
}

TEST(SendToBatch, AfterTheGatherLimitTheRunningCountdownIsKept)
{
    SendToBatch batch;
    EXPECT_TRUE(batch.Add(L"a", {}, 5000));
    EXPECT_TRUE(batch.Add(L"b", {}, 5000 + 1199));
    EXPECT_FALSE(batch.Add(L"c", {}, 5000 + 1200));
    EXPECT_FALSE(batch.Add(L"d", {}, 5000 + 3000));
    EXPECT_EQ(batch.Size(), 4u);
    batch.Take();
    EXPECT_TRUE(batch.Add(L"e", {}, 9000)) << "a new batch starts its own clock";
}

TEST(SendToBatch, TheTickWrapDoesNotEndABatchEarly)
{
    SendToBatch batch;
    EXPECT_TRUE(batch.Add(L"a", {}, 0xFFFFFF00u));
    EXPECT_TRUE(batch.Add(L"b", {}, 0x00000010u)) << "0x110 ms later";
}

TEST(SendToBatch, AnEmptyPathStartsTheBatchButIsNotKept)
{
    SendToBatch batch;
    EXPECT_TRUE(batch.Add(std::wstring(), POINT{1, 2}, 100));
    EXPECT_TRUE(batch.Empty());
}

TEST(SendToList, AcceptsOnlyCdrFilesDirectlyInTheTempFolder)
{
    const std::wstring temp = L"C:\\Users\\u\\AppData\\Local\\Temp\\";
    struct Case {
        const wchar_t* path;
        bool accepted;
    };
    const Case cases[] = {
        {L"C:\\Users\\u\\AppData\\Local\\Temp\\cdr1234.tmp", true},
        {L"c:\\users\\U\\appdata\\local\\temp\\CDRx", true},
        {L"C:\\Users\\u\\AppData\\Local\\Temp\\cdr", true},
        {L"C:\\Users\\u\\AppData\\Local\\Temp\\cd", false},
        {L"C:\\Users\\u\\AppData\\Local\\Temp\\xcdr1.tmp", false},
        {L"C:\\Users\\u\\AppData\\Local\\Temp\\sub\\cdr1.tmp", false},
        {L"C:\\Users\\u\\AppData\\Local\\cdr1.tmp", false},
        {L"D:\\Temp\\cdr1.tmp", false},
        {L"cdr1.tmp", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAcceptedSendToListPath(c.path, temp), c.accepted);
    }
    EXPECT_FALSE(IsAcceptedSendToListPath(L"C:\\cdr1.tmp", L""));
}

std::string Utf16(std::wstring_view text, bool bom)
{
    std::string bytes;
    if (bom) {
        bytes += "\xFF\xFE";
    }
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

TEST(SendToList, SplitsUtf16LinesOnCrLf)
{
    const std::vector<std::wstring> expected = {L"C:\\a.txt", L"D:\\dossier é\\b", L"\\\\server\\share\\c"};
    EXPECT_EQ(ParseSendToList(Utf16(L"C:\\a.txt\r\nD:\\dossier é\\b\r\n\r\n\\\\server\\share\\c\r\n", true)), expected);
    EXPECT_EQ(ParseSendToList(Utf16(L"C:\\a.txt\r\nD:\\dossier é\\b\r\n\\\\server\\share\\c", false)), expected);
}

TEST(SendToList, DropsAnOddLastByteAndKeepsLoneLineFeedsInsideAPath)
{
    std::string bytes = Utf16(L"C:\\a\r\nC:\\b", true);
    bytes.push_back('\x41');
    EXPECT_EQ(ParseSendToList(bytes), (std::vector<std::wstring>{L"C:\\a", L"C:\\b"}));
    EXPECT_EQ(ParseSendToList(Utf16(L"C:\\a\nb", false)), (std::vector<std::wstring>{L"C:\\a\nb"}));
    EXPECT_TRUE(ParseSendToList("A").empty());
    EXPECT_TRUE(ParseSendToList(Utf16(L"", true)).empty());
    EXPECT_TRUE(ParseSendToList("").empty());
}

}  // namespace
}  // namespace cadrels
