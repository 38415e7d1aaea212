// A UI Automation client (the one screen readers and test tools use) finds
// the real program's windows. Where the system has no client object
// (CoCreateInstance of CUIAutomation fails, as under Wine 8) the test says
// so and skips.
#include "AutomationClient.h"
#include "CadrelsProcess.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <wrl/client.h>

#include <cstdio>
#include <functional>
#include <string>

namespace cadrels::testing {
namespace {

using Microsoft::WRL::ComPtr;

std::wstring Taken(BSTR text)
{
    std::wstring value = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return value;
}

std::wstring WindowTitle(HWND window)
{
    wchar_t title[512] = {};
    GetWindowTextW(window, title, 512);
    return title;
}

// True when the client gave the property; says which it does not give.
bool Answered(const char* property, HRESULT answer)
{
    if (FAILED(answer)) {
        std::printf("This UI Automation client gives no %s (HRESULT 0x%08X)\n", property,
                    static_cast<unsigned>(answer));
    }
    return SUCCEEDED(answer);
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

class AutomationClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        const HRESULT created = CoCreateInstance(CLSID_CUIAutomationClient, nullptr, CLSCTX_INPROC_SERVER,
                                                 IID_IUIAutomationClient,
                                                 reinterpret_cast<void**>(automation_.ReleaseAndGetAddressOf()));
        if (FAILED(created)) {
            char reason[128];
            std::snprintf(reason, sizeof reason, "CUIAutomation is not there: CoCreateInstance answers 0x%08X",
                          static_cast<unsigned>(created));
            GTEST_SKIP() << reason;
        }
        ASSERT_TRUE(automation_);
        folder_ = AppDataFolder();
        containers_ = ContainerRootFolder();
        ASSERT_TRUE(RemoveTree(folder_));
        ASSERT_TRUE(RemoveTree(containers_));
    }
    void TearDown() override
    {
        app_.EndTest(HasFailure());
        if (!folder_.empty()) {
            RemoveTree(folder_);
            RemoveTree(containers_);
        }
        automation_.Reset();
        CoUninitialize();
    }

    ComPtr<IUIAutomationClient> automation_;
    std::wstring folder_;
    std::wstring containers_;
    CadrelsProcess app_;
};

TEST_F(AutomationClient, FindsTheCadrelWindowsOfTheRealProgram)
{
    ComPtr<IUIAutomationElementClient> root;
    ASSERT_HRESULT_SUCCEEDED(automation_->GetRootElement(&root));
    ASSERT_TRUE(root);

    // A first run makes the default cadrels.
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitUntilReady());
    std::vector<HWND> cadrels;
    ASSERT_TRUE(WaitFor(
        [&] {
            cadrels = app_.TopLevelWindows(L"Cadrels.Cadrel");
            return !cadrels.empty();
        },
        10000));
    for (HWND window : cadrels) {
        ComPtr<IUIAutomationElementClient> element;
        ASSERT_HRESULT_SUCCEEDED(automation_->ElementFromHandle(window, &element));
        ASSERT_TRUE(element);
        BSTR name = nullptr;
        ASSERT_HRESULT_SUCCEEDED(element->get_CurrentName(&name));
        const std::wstring title = WindowTitle(window);
        EXPECT_FALSE(title.empty());
        EXPECT_EQ(Taken(name), title);
        // Wine 10's client answers E_NOTIMPL for these; a client that does
        // answer must give this window's.
        BSTR className = nullptr;
        if (Answered("class name", element->get_CurrentClassName(&className))) {
            EXPECT_EQ(Taken(className), L"Cadrels.Cadrel");
        }
        int processId = 0;
        if (Answered("process", element->get_CurrentProcessId(&processId))) {
            EXPECT_EQ(static_cast<DWORD>(processId), app_.ProcessId());
        }
        void* handle = nullptr;
        if (Answered("window handle", element->get_CurrentNativeWindowHandle(&handle))) {
            EXPECT_EQ(static_cast<HWND>(handle), window);
        }
    }
    std::printf("UI Automation found %zu cadrel windows\n", cadrels.size());
}

}  // namespace
}  // namespace cadrels::testing
