#include "app/CopyData.h"

#include "base/AppMessages.h"

#include <gtest/gtest.h>

#include <vector>

namespace cadrels {
namespace {

COPYDATASTRUCT Data(ULONG_PTR kind, const void* bytes, DWORD size)
{
    COPYDATASTRUCT data{};
    data.dwData = kind;
    data.lpData = const_cast<void*>(bytes);
    data.cbData = size;
    return data;
}

TEST(CopyData, AcceptsBothKindsAndRemovesOneTrailingZero)
{
    const std::wstring payload = CopyDataPayload(L"C:\\Users\\x\\fichier.txt");
    const DWORD size = static_cast<DWORD>(payload.size() * sizeof(wchar_t));
    EXPECT_EQ(size, 2u * 22u + 2u) << "path length in bytes plus the terminator";

    COPYDATASTRUCT data = Data(CopyDataSendToPath, payload.data(), size);
    auto read = ReadCopyData(&data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, CopyDataSendToPath);
    EXPECT_EQ(read->path, L"C:\\Users\\x\\fichier.txt");

    data.dwData = CopyDataSendToList;
    read = ReadCopyData(&data);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->kind, CopyDataSendToList);

    const wchar_t twoZeros[] = {L'a', L'\0', L'\0'};
    data = Data(CopyDataSendToPath, twoZeros, sizeof twoZeros);
    EXPECT_EQ(ReadCopyData(&data)->path, std::wstring(L"a\0", 2)) << "only one zero is removed";

    const wchar_t noZero[] = {L'a', L'b'};
    data = Data(CopyDataSendToPath, noZero, sizeof noZero);
    EXPECT_EQ(ReadCopyData(&data)->path, L"ab");
}

TEST(CopyData, RefusesOtherKindsMissingDataAndSizesOutsideTheRange)
{
    std::vector<wchar_t> big(65538 / 2, L'x');
    const wchar_t one[] = {L'a'};
    struct Case {
        ULONG_PTR kind;
        const void* bytes;
        DWORD size;
        bool accepted;
    };
    const Case cases[] = {
        {0x43444C03, big.data(), 4, false},
        {0, big.data(), 4, false},
        {CopyDataSendToPath, nullptr, 4, false},
        {CopyDataSendToPath, one, 1, false},
        {CopyDataSendToPath, one, 0, false},
        {CopyDataSendToPath, one, 2, true},
        {CopyDataPageRequest, one, 2, true},
        {CopyDataHostRequest, one, 2, true},
        {CopyDataHostRequest + 1, one, 2, false},
        {CopyDataSendToPath, big.data(), 65536, true},
        {CopyDataSendToPath, big.data(), 65537, false},
        {CopyDataSendToList, big.data(), 65538, false},
    };
    for (const Case& c : cases) {
        COPYDATASTRUCT data = Data(c.kind, c.bytes, c.size);
        EXPECT_EQ(ReadCopyData(&data).has_value(), c.accepted) << "kind " << c.kind << " size " << c.size;
    }
    EXPECT_FALSE(ReadCopyData(nullptr));
    COPYDATASTRUCT limit = Data(CopyDataSendToPath, big.data(), 65536);
    EXPECT_EQ(ReadCopyData(&limit)->path.size(), 32768u);
}

// What a second start sends: the window options by their precedence, the
// list file over a single path, each send-to alone and with its terminator.
TEST(Forwarding, OneMessageByThePrecedenceOfTheOptions)
{
    struct Case {
        std::vector<std::wstring> arguments;
        UINT message;
        ULONG_PTR kind;
        std::wstring payload;
    };
    const Case cases[] = {
        {{L"--settings", L"--menu"}, WM_APP_SHOW_SETTINGS, 0, L""},
        {{L"--menu", L"--search", L"--settings"}, WM_APP_FILE_SEARCH, 0, L""},
        {{L"--send-to-path", L"C:\\un.txt", L"--send-to", L"C:\\Temp\\cdr42.tmp", L"--menu"},
         static_cast<UINT>(WM_COPYDATA), CopyDataSendToList, std::wstring(L"C:\\Temp\\cdr42.tmp", 17) + L'\0'},
        {{L"--send-to-path", L"C:\\un.txt"}, static_cast<UINT>(WM_COPYDATA), CopyDataSendToPath,
         std::wstring(L"C:\\un.txt") + L'\0'},
        {{L"--send-to"}, 0, 0, L""},
        {{}, 0, 0, L""},
    };
    for (const Case& c : cases) {
        const Forwarding forwarding = ForwardingFor(ParseArguments(c.arguments));
        EXPECT_EQ(forwarding.message, c.message) << c.arguments.size();
        EXPECT_EQ(forwarding.copyDataKind, c.kind);
        EXPECT_EQ(forwarding.payload, c.payload);
    }
    const Forwarding list = ForwardingFor(ParseArguments({L"--send-to", L"C:\\Temp\\cdr42.tmp"}));
    EXPECT_EQ(list.payload.size() * sizeof(wchar_t), (wcslen(L"C:\\Temp\\cdr42.tmp") + 1) * 2);
}

}  // namespace
}  // namespace cadrels
