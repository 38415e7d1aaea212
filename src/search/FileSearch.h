// The file search: a dark bar in the middle of the screen that finds files
// and folders by name in the folders the cadrels of every page show, lists
// the first ten under it with where they are, opens the selected one, shows
// it in its folder, or switches to the page that holds it. Created on first
// use and afterwards only shown and hidden. Main thread only.
#pragma once

#include "base/UniqueHandle.h"
#include "base/WindowClass.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/WindowGraphics.h"
#include "model/Records.h"
#include "search/SearchListings.h"
#include "search/SearchRules.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

namespace cadrels {

class IconCache;

// What the search asks of the application.
class FileSearchHost {
public:
    virtual const std::vector<Workspace>& SearchPages() const = 0;
    // The name of the live cadrel behind a window (the window itself or its
    // root), or nothing when no cadrel is there.
    virtual std::optional<std::wstring> LiveCadrelName(HWND window) const = 0;
    virtual void SwitchToPage(int index) = 0;
    virtual IconCache* SearchIcons() = 0;

protected:
    ~FileSearchHost() = default;
};

// Messages the search window posts to itself through its workers.
inline constexpr UINT WM_FILE_SEARCH_LISTED = WM_USER + 1;
inline constexpr UINT WM_FILE_SEARCH_FOLDERS_CHANGED = WM_USER + 2;

class FileSearch final : private FrameContent, public WindowBase<FileSearch> {
public:
    static constexpr wchar_t ClassName[] = L"CadrelsFileSearchWindow";
    static WindowClassDesc WindowClass() { return {ClassName, CS_DROPSHADOW}; }

    FileSearch(FileSearchHost& host, GraphicsDevice& device, HWND appWindow);
    ~FileSearch();
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    bool Create(HINSTANCE instance);
    // Clears the query and shows the bar, limited to the cadrel behind
    // `cadrelWindow` when one is given.
    void Show(HWND cadrelWindow);
    void Hide();
    bool Visible() const;
    // Filters the kept listings by the query; `typed` is a change of the
    // query (the first row is selected), else new listings arrived (the
    // selected path stays selected).
    void Run(bool typed = true);
    FrameResult Render();

    HWND Window() const { return window_.Get(); }
    const std::vector<FileSearchResult>& Results() const { return results_; }
    // Tab folders whose listing was asked for and has not arrived.
    int ListingsWaiting() const { return listings_.Waiting(); }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnChar(wchar_t unit);
    bool OnKeyDown(UINT key);
    void OnActivate(bool active);
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnListed();
    void OnFoldersChanged();

    void OpenSelected(bool inFolder);
    void SwitchToSelectedPage();
    void ResizeFor(std::size_t count);
    void SampleBackdrop();
    void LogResults(std::size_t waiting) const;
    float Scale() const { return static_cast<float>(dpi_) / 96.0f; }
    std::wstring ScopeLabel() const;

    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    HRESULT CreateTextFormats(GraphicsDevice& device);
    void DrawRows(ID2D1DeviceContext& context, float width, float s);
    void DrawQuery(ID2D1DeviceContext& context, float width, float s);

    FileSearchHost& host_;
    GraphicsDevice& device_;
    HWND appWindow_;
    WindowGraphics graphics_;
    UniqueWindow window_;
    UINT dpi_ = 96;

    std::wstring query_;
    std::wstring scope_;
    std::vector<SearchFolder> plan_;
    std::vector<FileSearchResult> results_;
    int selected_ = 0;
    bool caretOn_ = true;
    bool hiding_ = false;
    bool resizing_ = false;
    std::optional<D2D1_COLOR_F> backdrop_;
    SearchListings listings_{WM_FILE_SEARCH_LISTED, WM_FILE_SEARCH_FOLDERS_CHANGED};

    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> fillBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> lineBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> primaryBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> secondaryBrush_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> queryFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> nameFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> smallFormat_;
};

}  // namespace cadrels
