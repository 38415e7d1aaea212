#include "base/Failure.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace cadrels {
namespace {

HRESULT Answer(HRESULT hr)
{
    return hr;
}

TEST(LogIfFailed, LogsFailuresOnlyAndHandsTheResultBack)
{
    testing::LogCapture log;
    EXPECT_EQ(CADRELS_LOG_IF_FAILED(Answer(S_OK)), S_OK);
    EXPECT_EQ(CADRELS_LOG_IF_FAILED(Answer(S_FALSE)), S_FALSE) << "a success code is no failure";
    EXPECT_TRUE(log.Lines().empty());

    EXPECT_EQ(CADRELS_LOG_IF_FAILED(Answer(E_NOTIMPL)), E_NOTIMPL);
    EXPECT_EQ(CADRELS_LOG_IF_FAILED(Answer(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))),
              HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    const std::vector<std::wstring> lines = log.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], L"Answer(E_NOTIMPL) a echoue (HRESULT 0x80004001)");
    EXPECT_EQ(lines[1], L"Answer(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) a echoue (HRESULT 0x80070005)");
}

TEST(LogIfFailed, TheLineIsTheStartUpFailureText)
{
    try {
        CADRELS_CHECK(Answer(E_OUTOFMEMORY));
        FAIL() << "a failure throws";
    } catch (const std::runtime_error& error) {
        testing::LogCapture log;
        LogIfFailed(E_OUTOFMEMORY, "Answer(E_OUTOFMEMORY)");
        ASSERT_EQ(log.Lines().size(), 1u);
        EXPECT_EQ(log.Lines()[0], std::wstring(error.what(), error.what() + std::strlen(error.what())));
    }
}

}  // namespace
}  // namespace cadrels
