// The common ground of the end-to-end scenarios on cadrels' content: a clean
// profile, a folder of the test's own, a page of pinned cadrels written as
// the layout, and the real program started on it.
#pragma once

#include "CadrelsProcess.h"

#include "cadrel/CadrelGeometry.h"
#include "model/MonitorInfo.h"
#include "model/Records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cadrels::testing {

// The layout file in `appData` as the program last wrote it.
Settings ReadLayout(const std::wstring& appData);
// Asks the program to save, waits until the file changes, and reads it.
Settings SaveAndReadLayout(const CadrelsProcess& app, const std::wstring& appData);

class CadrelScenario : public ::testing::Test {
protected:
    explicit CadrelScenario(const wchar_t* folderPrefix) : prefix_(folderPrefix) {}

    void SetUp() override;
    void TearDown() override;

    // A cadrel pinned open at fractions of the primary work area.
    CadrelRecord& AddPinned(Workspace& page, const char* id, double x, double y, double w, double h,
                            std::vector<CadrelTab> tabs) const;
    // Writes a layout holding that one page and starts the program on it.
    void StartWithPage(const Workspace& page);
    // The same with several pages, the first one shown.
    void StartWithPages(const std::vector<Workspace>& pages);
    // The same with preferences of the test's own; the first page is shown.
    void StartWithSettings(const Settings& settings);
    HWND CadrelTitled(const std::wstring& title) const;

    std::wstring appData_;
    std::wstring root_;
    std::vector<MonitorInfo> monitors_;
    PixelRect work_;
    CadrelsProcess app_;

private:
    const wchar_t* prefix_;
};

}  // namespace cadrels::testing
