// The cloud backup request's text, its answer and the account file.
#include "online/CloudBackupBody.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(CloudBackupBody, EscapesQuotesBackslashesAndLineBreaksAndDropsOtherControls)
{
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain", "plain"},
        {"a\"b", "a\\\"b"},
        {"C:\\x", "C:\\\\x"},
        {"one\ntwo", "one\\ntwo"},
        {"one\rtwo", "one\\rtwo"},
        {"tab\there", "tabhere"},
        {std::string("nul\0x", 5), "nulx"},
        {"\x1f\x20", " "},
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeCloudValue(c.in), c.out) << c.in;
    }
}

TEST(CloudBackupBody, MembersInOrderEachEscapedAndQuoted)
{
    EXPECT_EQ(CloudBackupBody(L"AB\"1", L"PC\\2", L"2024-03-15 14:25", L"2024-03-15 14:25", "{\n  \"v\": 2\t\r\n}"),
              "{\"code\":\"AB\\\"1\",\"machineId\":\"PC\\\\2\",\"name\":\"2024-03-15 14:25\","
              "\"created\":\"2024-03-15 14:25\",\"data\":\"{\\n  \\\"v\\\": 2\\r\\n}\"}");
    // Wide text arrives as UTF-8.
    EXPECT_EQ(CloudBackupBody(L"\u00e9", L"", L"", L"", ""),
              "{\"code\":\"\xC3\xA9\",\"machineId\":\"\",\"name\":\"\",\"created\":\"\",\"data\":\"\"}");
}

TEST(CloudBackupBody, AcceptedOnlyWhenOkIsTrue)
{
    const struct {
        const char* response;
        bool accepted;
    } cases[] = {
        {R"({"ok":true})", true}, {R"({"ok":1})", true},    {R"({"ok":false})", false},
        {R"({"ok":0})", false},   {R"({"done":true})", false}, {R"([true])", false},
        {"ok", false},            {"", false},             {"<html>500</html>", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CloudBackupAccepted(c.response), c.accepted) << c.response;
    }
}

TEST(CloudBackupBody, AccountFileRoundTripsAndToleratesDamage)
{
    const OnlineAccount account{L"C-42 \u00e9", L"{MACHINE}"};
    const OnlineAccount read = ReadOnlineAccount(OnlineAccountText(account));
    EXPECT_EQ(read.code, account.code);
    EXPECT_EQ(read.machineId, account.machineId);
    EXPECT_TRUE(read.Complete());
    EXPECT_FALSE(ReadOnlineAccount(R"({"code":"x","machineId":5})").Complete());
    EXPECT_EQ(ReadOnlineAccount(R"({"code":"x","machineId":5})").code, L"x");
    EXPECT_FALSE(ReadOnlineAccount("not json").Complete());
    EXPECT_FALSE(ReadOnlineAccount(R"({"code":"","machineId":"m"})").Complete());
}

}  // namespace
}  // namespace cadrels
