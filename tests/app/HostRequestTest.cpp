#include "app/HostRequest.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(HostRequest, ReadsWhatItWrites)
{
    const HostRequest requests[] = {
        {HostAction::HostInActiveTab, 0, 1},
        {HostAction::HostInActiveTab, 9999, 18446744073709551615ull},
        {HostAction::ReleaseActiveTab, 3, 0},
    };
    for (const HostRequest& request : requests) {
        EXPECT_EQ(ParseHostRequest(HostRequestText(request)), request);
    }
}

TEST(HostRequest, RefusesAnythingMalformed)
{
    const wchar_t* texts[] = {
        L"",
        L"host",
        L"host\t0",
        L"host\t0\t",
        L"host\t\t42",
        L"host\t0\t0",
        L"host\t0\t42\t",
        L"host\t0\t-42",
        L"host\t0\t 42",
        L"host\t0\t18446744073709551616",
        L"host\t0\t000000000000000000001",
        L"host\t10000\t42",
        L"release",
        L"release\t",
        L"release\t1\t42",
        L"Release\t1",
        L"switch\t1",
    };
    for (const wchar_t* text : texts) {
        EXPECT_EQ(ParseHostRequest(text), std::nullopt) << testing::PrintToString(std::wstring(text));
    }
}

}  // namespace
}  // namespace cadrels
