// A live cadrel: the borderless, translucent tool window that stands at the
// bottom of the z-order and shows one folder per tab. Its listing, its
// pointer press, its rename box, its hosting and its painter are parts it
// owns; what it asks of the application goes through its CadrelHost.
#pragma once

#include "base/UniqueHandle.h"
#include "cadrel/CadrelGeometry.h"
#include "cadrel/CadrelHitMap.h"
#include "cadrel/CadrelHost.h"
#include "cadrel/CadrelItem.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/CadrelMenuModel.h"
#include "cadrel/CadrelPainter.h"
#include "cadrel/CadrelSnapping.h"
#include "cadrel/CadrelTimers.h"
#include "cadrel/FolderContent.h"
#include "cadrel/InPlaceRename.h"
#include "cadrel/LiveTab.h"
#include "cadrel/PointerPress.h"
#include "cadrel/RollAnimation.h"
#include "cadrel/ShellMenuRelay.h"
#include "cadrel/TabHosting.h"
#include "dock/IconPicker.h"
#include "fileops/OperationState.h"
#include "fileops/UndoEntry.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/IconCache.h"
#include "gfx/SvgEmblems.h"
#include "gfx/WindowGraphics.h"
#include "model/Records.h"

#include <windows.h>
#include <d2d1_1.h>
#include <dwrite.h>
#include <oleidl.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cadrels {

class HostedAppsStore;

// A tab dragged out of its cadrel, on its way to the application.
struct TornTab {
    std::wstring title;
    std::wstring folder;
    std::wstring emblem;
    bool titleAuto = false;
    std::wstring hostedExe;
    std::wstring hostedAumid;
    std::wstring hostedTitle;
    POINT releasePoint{};
    HWND source = nullptr;

    bool Hosts() const { return !hostedExe.empty() || !hostedAumid.empty(); }
};

// Posted by the cadrel's folder watcher; carries nothing.
inline constexpr UINT WM_CADREL_FOLDER_CHANGED = WM_USER + 3;
// Posted by the cadrel's listing worker: a result waits in its mailbox.
inline constexpr UINT WM_CADREL_FOLDER_LISTED = WM_USER + 4;

// Screen point packed as the cadrel's move messages carry it: x in the low
// 32 bits, y in the high 32 bits.
LPARAM PackScreenPoint(POINT point);
POINT UnpackScreenPoint(LPARAM packed);

// The work area of the monitor nearest to a screen rectangle.
std::optional<PixelRect> NearestWorkArea(const PixelRect& rect);

class CadrelDropTarget;

class Cadrel final : private FrameContent, private HostingSite {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Cadrel";
    // `host` answers what the cadrel asks of the application; its messages
    // go to `appWindow`.
    Cadrel(GraphicsDevice& graphics, HWND appWindow, CadrelHost& host);
    ~Cadrel();
    Cadrel(const Cadrel&) = delete;
    Cadrel& operator=(const Cadrel&) = delete;

    // Takes the record's properties, mended where they are out of range, and
    // the tabs; the folder is listed at FinishBuilding.
    bool Create(HINSTANCE instance, const CadrelRecord& record, std::vector<LiveTab> tabs, int activeIndex, int x,
                int y, int width, int height);
    void Destroy();

    const std::string& Id() const { return id_; }
    HWND Window() const { return window_.Get(); }
    const std::vector<LiveTab>& Tabs() const { return tabs_; }
    int ActiveTab() const { return activeTab_; }
    const std::vector<CadrelItem>& Items() const { return content_.Items(); }
    // The active folder's items, their order and selection.
    const FolderContent& Content() const { return content_; }
    // The paths of all items, in item order, and the lowest selected index
    // (-1 without selection), for quick look.
    std::vector<std::wstring> AllItemPaths() const;
    int FirstSelectedItem() const { return content_.FirstSelected(); }
    void OpenItem(int index) const;
    void OpenPaths(const std::vector<std::wstring>& paths) const;

    // Tabs: closing one keeps its folder; moving one keeps the active tab.
    void CloseTab(int index, bool notify);
    void MoveTab(int from, int to);
    float ScrollOffset() const { return content_.ScrollOffset(); }
    bool Rolled() const { return rolled_; }
    bool Pinned() const { return properties_.pinned; }
    bool Locked() const { return properties_.locked; }
    int UnfoldDirection() const { return properties_.expandDir; }
    bool MergeHighlighted() const { return mergeHighlight_; }
    double Opacity() const { return properties_.opacity; }
    // The cadrel's own properties as its record keeps them (not the tabs).
    void CopyPropertiesTo(CadrelRecord& record) const;

    void SetOpacity(double opacity, bool notify);
    void SetPinned(bool pinned, bool notify);
    void SetLocked(bool locked, bool notify);
    void SetClassifyMode(int mode, bool notify);
    void SetUnfoldDirection(int direction, bool notify);
    void SetSortRule(const SortRule& rule, bool notify);
    void SetSort(int key, bool descending, bool notify);
    void SetViewMode(int mode, bool notify);
    void SetZoom(float zoom, bool notify);
    void SetSnapping(bool enabled, int gridStep);
    void SetPageFrozen(bool frozen);
    void SetDropHighlight(bool highlight);
    void SetDropTab(int tab);
    int TabAtScreenPoint(POINT screen) const;
    // Whether a drag of `data` may drop here now: not while a prompt, a
    // menu or a file operation runs, unless it is this program's own drag.
    bool TakesDropOf(IDataObject* data) const;
    // Transfers dropped files into the folder of `tab` (when it has one) or
    // of the active tab; returns how many arrived.
    int ReceiveDrop(const std::vector<std::wstring>& paths, bool move, int tab);

    void SetRolled(bool rolled, bool notify, bool animate);
    void SetBoundsRespectingRoll(int x, int y, int width, int height);
    // The window rectangle as it would stand unrolled.
    RECT FullRect() const;
    void SetHidden(bool hidden);
    void SetMergeHighlight(bool highlight);
    RECT TitleBarScreenRect() const;
    bool IsOverTitleBar(POINT screenPoint) const;
    void AutoRollUpCheck();
    // Whether the pointer is over this cadrel or one of its child windows.
    bool PointerOver() const;

    // A new cadrel draws nothing until the application has applied its
    // record: every setter would otherwise draw a frame of its own.
    void FinishBuilding();

    // Appends a tab and makes it the active one.
    void AppendTab(const CadrelTab& tab);
    // Lists the active folder again on a worker; when the listing arrives
    // the scroll position stays where it still fits, and with
    // `keepSelection` what is selected then stays selected.
    void Refresh(bool keepSelection = false);

    // Where items, tabs and bars stand now, in client pixels.
    CadrelHitMap HitMap() const;
    // Hosting another application's window in a tab, with what the host
    // knows of every cadrel's hosted windows and of the executables this
    // user hosted.
    TabHosting& Hosting() { return hosting_; }
    const TabHosting& Hosting() const { return hosting_; }
    // The user activated a hosted window: its tab comes forward, unrolled.
    bool OnForegroundWindow(HWND window);

    // After a theme or colour change: every brush again, then a frame.
    void Retheme();
    // After a device recreation: new objects for the new device, then a frame.
    void RebuildGraphics();
    FrameResult Draw();

    // Menus, in-place rename, emblem and closing a tab (CadrelMenu.cpp,
    // CadrelItemMenu.cpp, CadrelRename.cpp).
    void ShowCadrelMenu(POINT screen);
    void ShowItemMenu(int index, POINT screen);
    bool MenuOpen() const { return menuOpen_; }
    void BeginTabRename();
    void BeginItemRename(int index);
    void CommitRename();
    void CancelRename();
    bool RenameOpen() const { return rename_.IsOpen(); }
    HWND RenameEdit() const { return rename_.Edit(); }
    // The settings window's rename of the active tab.
    void RenameActiveTab(const std::wstring& title);
    // The shell rename of one file or folder, recorded for undo.
    bool RenameFile(const std::wstring& path, const std::wstring& newName);
    void SetTabEmblem(const std::wstring& key, bool notify);
    void CloseActiveTab();
    // While the application asks what becomes of this cadrel's content, its
    // tabs cannot be dragged away.
    void SetClosing(bool closing) { closing_ = closing; }

    LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Window and lifecycle.
    void OnCreate();
    void OnPaint();
    void OnSize(int width, int height);
    void OnWindowPosChanging(WINDOWPOS& position) const;
    void OnGetMinMaxInfo(MINMAXINFO& info) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);
    void OnDisplayChange();
    void OnTimer(UINT_PTR id);
    void OnNcDestroy();
    void Layout(int width, int height);
    void SetWindowTitleFromActiveTab();
    void Notify(UINT message, bool notify) const;
    PixelRect WindowRect() const;
    CadrelMetrics Metrics() const { return MetricsForDpi(dpi_); }

    // Pointer input.
    void OnLeftButtonDown(POINT client, WPARAM keys);
    void OnMouseMove(POINT client);
    void OnLeftButtonUp(POINT client);
    void OnLeftButtonDoubleClick(POINT client);
    void OnRightButtonUp();
    void PressItems(POINT client, WPARAM keys);
    void FinishItemPress(POINT client);
    void FinishTabPress();
    void HoverAt(POINT client);
    void UpdateMarquee(int x, int y);
    void TabDragTo(int x, int y);
    void OnTabHoverTimer();
    void OnRenameTimer();
    void StartDragOut(int index);
    void RegisterDropTarget();
    void RevokeDropTarget();
    void LogSelection() const;
    void OnCaptureChanged();
    void OnMouseLeave();
    bool OnSetCursor();
    int ResizeHitTest(int x, int y) const;
    void ActivateTab(int index, bool notify);
    bool MovingForbidden() const;
    void OnMouseWheel(int delta, WPARAM keys);

    // Menus and rename.
    std::vector<std::wstring> CollectHostCandidates();
    void RunCadrelMenuCommand(int id, const CadrelMenuFacts& facts);
    void RunSortRuleCommand(int id);
    void OpenTabIconPicker();
    void RunItemCommand(int id, const std::wstring& path, const std::vector<std::wstring>& targets, POINT screen);
    void FolderFollowsTitle(const std::wstring& title);
    void CancelTabRename();

    // The listed folder, its watcher, selection and scrolling.
    CadrelView View() const;
    const std::wstring& ActiveFolder() const;
    void ListFolder(bool keepSelection = false);
    void OnFolderListed();
    void EndPressOnItems();
    const std::vector<std::wstring>& PinnedNames() const;
    void OnItemsOrdered();
    void StartWatcher();
    void OnFolderChanged();
    void ClampScroll();
    std::wstring FooterText() const;

    // Moving, resizing and snapping.
    void CaptureSnapTargets();
    void MoveStep(POINT cursor);
    void ResizeStep(POINT cursor);
    PixelPoint FitToMonitor(PixelPoint proposed, int width, int height) const;

    // Roll-up and animation.
    void ApplyRect(const PixelRect& rect);
    void StartRollAnimation(const PixelRect& from, const PixelRect& to);
    void SetRollClip(const PixelRect& clip);
    void AnimationStep();
    void StopAnimation();

    // What hosting reads and asks of the cadrel (CadrelHosting.cpp).
    State HostingState() const override;
    std::vector<LiveTab>& HostingTabs() override { return tabs_; }
    const std::string& HostingId() const override { return id_; }
    void HostingRedraw() override { Draw(); }
    void HostingTabsChanged() override;
    void HostingActiveTitleChanged() override { SetWindowTitleFromActiveTab(); }

    // Drawing.
    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    CadrelColours Colours() const;
    void DrawItems(ID2D1DeviceContext& context, const CadrelView& view);
    void DrawFooter(ID2D1DeviceContext& context, const CadrelView& view);
    void DrawTornTab(ID2D1DeviceContext& context);
    bool DrawTabEmblem(ID2D1DeviceContext& context, const LiveTab& tab, const D2D1_RECT_F& square);

    GraphicsDevice& graphicsDevice_;
    HWND appWindow_;
    CadrelHost& host_;
    // Declared before graphics_, which may still release it while going.
    CadrelPainter painter_;
    WindowGraphics graphics_;
    UniqueWindow window_;

    std::string id_;
    std::vector<LiveTab> tabs_;
    int activeTab_ = 0;

    bool building_ = true;
    bool drawPending_ = false;
    // What the window last told the desktop hooks about its selection.
    bool publishedSelection_ = false;
    unsigned dpi_ = 96;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool rolled_ = false;
    int fullWidth_ = 0;
    int fullHeight_ = 0;
    bool pageFrozen_ = false;
    CadrelSnapping snapping_{NearestWorkArea};
    bool allowHide_ = false;
    bool mergeHighlight_ = false;

    RollAnimation roll_;

    FolderContent content_;
    int hoverItem_ = -1;
    int hoverTab_ = -1;
    IconCache* icons_ = nullptr;

    // Rolled up on purpose with the pointer on its bar: hovering does not
    // unfold it again until the pointer has left it once.
    bool keptRolledUntilLeave_ = false;
    bool trackingLeave_ = false;
    // One press of the left button at a time: its kind is decided at the
    // press and ends at the release or when the capture is lost.
    PointerPress press_;

    // Menus and the in-place rename.
    bool menuOpen_ = false;
    bool closing_ = false;
    std::vector<HWND> hostCandidates_;
    std::unique_ptr<IconPicker> iconPicker_;
    // Holds the shell's item menu while it is open, for its drawing messages.
    ShellMenuRelay shellMenu_;
    InPlaceRename rename_;

    // Drag and drop of files.
    Microsoft::WRL::ComPtr<CadrelDropTarget> dropTarget_;
    bool dropHighlight_ = false;
    int dropTab_ = -1;

    // The record's own properties, kept valid: taken once at creation, then
    // changed by the setters the menus use.
    CadrelProperties properties_;

    TabHosting hosting_{*this};
};

}  // namespace cadrels
