#include "CadrelScenario.h"

#include "DesktopInput.h"
#include "TestFiles.h"

#include "base/AppMessages.h"
#include "cadrel/CadrelPlacement.h"
#include "model/LayoutFile.h"

namespace cadrels::testing {

Settings ReadLayout(const std::wstring& appData)
{
    Settings settings;
    bool pagesFound = false;
    EXPECT_TRUE(LoadSettingsFile(appData + L"\\layout.json", settings, pagesFound));
    return settings;
}

Settings SaveAndReadLayout(const CadrelsProcess& app, const std::wstring& appData)
{
    const std::wstring path = appData + L"\\layout.json";
    WIN32_FILE_ATTRIBUTE_DATA before{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &before);
    PostMessageW(app.AppWindow(), WM_APP_SAVE_SOON, 0, 0);
    WaitFor([&] {
        WIN32_FILE_ATTRIBUTE_DATA now{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now);
        return CompareFileTime(&now.ftLastWriteTime, &before.ftLastWriteTime) != 0;
    });
    Sleep(100);
    return ReadLayout(appData);
}

void CadrelScenario::SetUp()
{
    appData_ = AppDataFolder();
    ASSERT_TRUE(RemoveTree(appData_));
    ASSERT_TRUE(RemoveTree(ContainerRootFolder()));
    root_ = MakeTempFolder(prefix_);
    monitors_ = EnumerateMonitors();
    ASSERT_FALSE(monitors_.empty());
    work_ = ToPixelRect(PrimaryMonitor(monitors_)->workArea);
    // Far from every cadrel, so nothing is hovered by accident.
    PointerTo({work_.right - 3, work_.bottom - 3});
}

void CadrelScenario::TearDown()
{
    app_.EndTest(HasFailure());
    RemoveTree(appData_);
    RemoveTree(ContainerRootFolder());
    RemoveTree(root_);
}

CadrelRecord& CadrelScenario::AddPinned(Workspace& page, const char* id, double x, double y, double w, double h,
                                        std::vector<CadrelTab> tabs) const
{
    CadrelRecord record;
    record.id = id;
    record.pinned = true;
    record.tabs = std::move(tabs);
    page.layouts[DisplayKey(monitors_)][id] = CadrelGeom{PrimaryMonitor(monitors_)->id, x, y, w, h, false};
    page.cadrels.push_back(std::move(record));
    return page.cadrels.back();
}

void CadrelScenario::StartWithPage(const Workspace& page)
{
    StartWithPages({page});
}

void CadrelScenario::StartWithPages(const std::vector<Workspace>& pages)
{
    Settings settings;
    settings.workspaces = pages;
    StartWithSettings(settings);
}

void CadrelScenario::StartWithSettings(const Settings& settings)
{
    CreateDirectoryW(appData_.c_str(), nullptr);
    ASSERT_TRUE(LayoutFile(appData_ + L"\\layout.json").Save(settings));
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitUntilReady());
}

HWND CadrelScenario::CadrelTitled(const std::wstring& title) const
{
    for (HWND window : app_.TopLevelWindows(L"Cadrels.Cadrel")) {
        if (TitleOf(window) == title) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace cadrels::testing
