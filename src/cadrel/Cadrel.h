// A live cadrel: the borderless, translucent tool window that stands at the
// bottom of the z-order and shows one folder per tab.
#pragma once

#include "base/Mailbox.h"
#include "base/UniqueHandle.h"
#include "cadrel/CadrelGeometry.h"
#include "cadrel/CadrelItem.h"
#include "cadrel/CadrelLayout.h"
#include "cadrel/CadrelMenuModel.h"
#include "dock/IconPicker.h"
#include "fileops/FolderWatcher.h"
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

// A tab as the live cadrel holds it: the saved tab and, while it hosts
// another application's window, what hosting knows at run time.
struct LiveTab : CadrelTab {
    HWND hostedWindow = nullptr;
    // The hosted window vanished: the tab shows the closed panel.
    bool appClosed = false;
    // The application was started once already for this tab.
    bool relaunchTried = false;
    // Where the window stood when it was hosted; released windows go back there.
    RECT savedRect{};
    WINDOWPLACEMENT savedPlacement{};  // `length` set when valid
    // Popups of the hosted thread that hosting hid with the tab; shown again
    // exactly when the tab comes back.
    std::vector<HWND> hiddenPopups;
};

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

// Timers of a cadrel window.
enum CadrelTimer : UINT_PTR {
    CadrelTimerFolderRefresh = 1,
    CadrelTimerTabHover = 2,
    CadrelTimerRollAnimation = 3,
    CadrelTimerRenameClick = 4,
    CadrelTimerHostKeep = 5,
    CadrelTimerHostNudge = 6,
    CadrelTimerRollUpCheck = 8,
};

// Posted by the in-place rename's edit box; carry nothing.
inline constexpr UINT WM_CADREL_RENAME_COMMIT = WM_USER + 1;
inline constexpr UINT WM_CADREL_RENAME_CANCEL = WM_USER + 2;
// Posted by the cadrel's folder watcher; carries nothing.
inline constexpr UINT WM_CADREL_FOLDER_CHANGED = WM_USER + 3;

// Screen point packed as the cadrel's move messages carry it: x in the low
// 32 bits, y in the high 32 bits.
LPARAM PackScreenPoint(POINT point);
POINT UnpackScreenPoint(LPARAM packed);

class CadrelDropTarget;
class Cadrel;

// What the menus learn from the application and ask of it directly; the
// rest they post as application messages.
struct CadrelMenuServices {
    // The undo stack's texts, the shortcuts, theme, language and hosting.
    std::function<CadrelMenuFacts()> facts;
    // Whether another live cadrel hosts the window.
    std::function<bool(HWND)> hostedElsewhere;
    std::function<void(Cadrel&, HWND)> hostWindow;
    std::function<void(Cadrel&)> releaseHosted;
    std::function<void(HWND)> arrangeNow;
    // A finished rename for the undo stack.
    std::function<void(UndoEntry)> movesDone;
};

class Cadrel final : private FrameContent {
public:
    static constexpr wchar_t ClassName[] = L"Cadrels.Cadrel";
    using RectsProvider = std::function<std::vector<RECT>()>;
    using LockQuery = std::function<bool()>;

    Cadrel(GraphicsDevice& graphics, HWND appWindow);
    ~Cadrel();
    Cadrel(const Cadrel&) = delete;
    Cadrel& operator=(const Cadrel&) = delete;

    bool Create(HINSTANCE instance, const CadrelRecord& record, std::vector<LiveTab> tabs, int activeIndex, int x,
                int y, int width, int height);
    void Destroy();

    const std::string& Id() const { return id_; }
    HWND Window() const { return window_.Get(); }
    const std::vector<LiveTab>& Tabs() const { return tabs_; }
    int ActiveTab() const { return activeTab_; }
    const std::vector<CadrelItem>& Items() const { return items_; }

    // The selection, in item order.
    void SelectOnly(int index);
    void SelectRange(int a, int b);
    void ToggleSelected(int index);
    bool IsSelected(int index) const;
    int SelectedCount() const;
    std::vector<std::wstring> SelectedPaths() const;
    int FirstSelectedItem() const;
    std::vector<std::wstring> AllItemPaths() const;
    void OpenItem(int index) const;
    void OpenPaths(const std::vector<std::wstring>& paths) const;

    // Tabs: closing one keeps its folder; moving one keeps the active tab.
    void CloseTab(int index, bool notify);
    void MoveTab(int from, int to);
    float ScrollOffset() const { return scrollOffset_; }
    bool Rolled() const { return rolled_; }
    bool Pinned() const { return pinned_; }
    bool Locked() const { return locked_; }
    int UnfoldDirection() const { return unfoldDirection_; }
    bool MergeHighlighted() const { return mergeHighlight_; }
    double Opacity() const { return opacity_; }
    // The cadrel's own properties as its record keeps them (not the tabs).
    void CopyPropertiesTo(CadrelRecord& record) const;

    void SetOpacity(double opacity, bool notify);
    void SetTint(Color tint, bool notify);
    void SetAccent(Color accent, bool notify);
    void SetPinned(bool pinned, bool notify);
    void SetLocked(bool locked, bool notify);
    void SetClassifyMode(int mode, bool notify);
    void SetUnfoldDirection(int direction, bool notify);
    void SetSortRule(const SortRule& rule, bool notify);
    void SetSort(int key, bool descending, bool notify);
    void SetViewMode(int mode, bool notify);
    void SetZooms(const std::array<float, 3>& zooms);
    void SetZoom(float zoom, bool notify);
    void SetSnapping(bool enabled, int gridStep);
    void SetPageFrozen(bool frozen);
    void SetNeighbourRectsProvider(RectsProvider provider);
    // Whether the administration policy forbids moving and resizing cadrels.
    void SetLockQuery(LockQuery query);
    // Whether the policy forbids changing the zoom (Ctrl with the wheel).
    void SetZoomLockQuery(LockQuery query);
    // Where a tab dragged off the title bar is sent, with WM_APP_TAB_TORN_OFF.
    void SetTornTabMailbox(Mailbox<TornTab>* mailbox);

    // Files dropped on the cadrel go to a folder through the application,
    // which answers how many arrived; a drag out of it holds the
    // application's "operation running" state while its loop runs.
    using DropHandler = std::function<int(const Cadrel&, const std::vector<std::wstring>& paths, bool move,
                                          const std::wstring& folder)>;
    using OperationGuard = std::function<OperationState::Scope()>;
    void SetDropHandler(DropHandler handler);
    void SetOperationGuard(OperationGuard guard);
    void SetDropHighlight(bool highlight);
    void SetDropTab(int tab);
    int TabAtScreenPoint(POINT screen) const;
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
    // Lists the active folder again, keeps the scroll position where it
    // still fits, and draws.
    void Refresh();
    // Where item icons and image emblems come from; none draws placeholders.
    void SetIconCache(IconCache* icons);

    // Where things stand, in client pixels.
    LayoutRect ItemRect(int index) const;
    int ItemAt(int x, int y) const;
    LayoutRect TabRect(int index) const;
    int TabInsertIndex(int x, int y) const;
    bool IsOnFooter(int y) const;
    LayoutRect ContentRect() const;
    float MaxScroll() const;
    // Hosting another application's window in a tab (CadrelHosting.cpp).
    // `hostedElsewhere` lists the windows every live cadrel hosts; `apps`
    // the executables this user hosted, the only ones started unasked.
    using HostedWindowsQuery = std::function<std::vector<HWND>()>;
    void SetHostingContext(HostedAppsStore* apps, HostedWindowsQuery hostedEverywhere);
    bool HostWindow(int index, HWND window, bool activate);
    bool HostWindowInActiveTab(HWND window);
    void ReleaseHosted(int index);
    void ReleaseAllHostedMinimized();
    void PlaceHosted();
    void KeepBelowHosted();
    HWND HostedWindow() const;
    bool ActiveTabHosts() const;
    bool HostsWindow(HWND window) const;
    std::vector<HWND> HostedWindows() const;
    bool OnHostedLocationChange(HWND window);
    bool ClaimMovedWindow(HWND window);
    bool OnForegroundWindow(HWND window);
    void SetHostHighlight(bool highlight);
    void Reattach();
    bool WaitsForHostedWindow() const;
    void RelaunchHosted();
    // Set before the application destroys its cadrels: released windows are
    // left minimized instead of brought forward.
    void SetTearingDown() { tearingDown_ = true; }
    const std::wstring& LastError() const { return lastError_; }
    HWND LastReleasedWindow() const { return lastReleasedWindow_; }

    // After a theme or colour change: every brush again, then a frame.
    void Retheme();
    // After a device recreation: new objects for the new device, then a frame.
    void RebuildGraphics();
    FrameResult Draw();

    // Menus, in-place rename, emblem and closing a tab (CadrelMenu.cpp,
    // CadrelItemMenu.cpp, CadrelRename.cpp).
    void SetMenuServices(CadrelMenuServices services);
    void ShowCadrelMenu(POINT screen);
    void ShowItemMenu(int index, POINT screen);
    bool MenuOpen() const { return menuOpen_; }
    void BeginTabRename();
    void BeginItemRename(int index);
    void CommitRename();
    void CancelRename();
    bool RenameOpen() const { return renameEdit_ != nullptr; }
    HWND RenameEdit() const { return renameEdit_; }
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
    bool IsOnTitleBar(int x, int y) const;
    int TabAt(int x, int y) const;
    void ActivateTab(int index, bool notify);
    bool MovingForbidden() const;
    void OnMouseWheel(int delta, WPARAM keys);

    // Menus and rename.
    std::vector<std::wstring> CollectHostCandidates();
    void RunCadrelMenuCommand(int id, const CadrelMenuFacts& facts);
    void RunSortRuleCommand(int id);
    void OpenTabIconPicker();
    bool ForwardShellMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RunItemCommand(int id, const std::wstring& path, const std::vector<std::wstring>& targets, POINT screen);
    bool OpenRenameHost(const RECT& rect, const std::wstring& text, int selStart, int selEnd);
    void FolderFollowsTitle(const std::wstring& title);
    static LRESULT CALLBACK RenameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

    // The listed folder, its watcher, selection and scrolling.
    CadrelView View() const;
    const std::wstring& ActiveFolder() const;
    void ListFolder();
    const std::vector<std::wstring>& PinnedNames() const;
    void ApplyPinned();
    void SortItems();
    void OnItemsOrdered();
    void StartWatcher();
    void StopWatcher();
    void OnFolderChanged();
    void ClampScroll();
    void ClearSelection();
    std::wstring FooterText() const;

    // Moving, resizing and snapping.
    void CaptureSnapTargets();
    void MoveStep(POINT cursor);
    void ResizeStep(POINT cursor);
    PixelPoint FitToMonitor(PixelPoint proposed, int width, int height) const;
    bool SnappingActive() const;
    std::optional<PixelRect> NearestWorkArea(const PixelRect& rect) const;

    // Roll-up and animation.
    void ApplyRect(const PixelRect& rect);
    void StartRollAnimation(const PixelRect& from, const PixelRect& to);
    void AnimationStep();
    void StopAnimation();

    // Hosting.
    void NameTabAfterApp(int index);
    void StartHostedApp(int index);
    void ForgetHosted(LiveTab& tab);
    void HideHostedPopups(LiveTab& tab);
    void ShowHostedPopups(LiveTab& tab);
    RECT HostedAreaOnScreen() const;
    bool HostedHoldsPointerOrFocus() const;
    void OnHostKeepTimer();
    void OnHostNudgeTimer();
    bool ForwardActivationToHosted();
    void DrawHosting(ID2D1DeviceContext& context, float width, float height);
    bool PressRelaunch(POINT client);

    // Drawing.
    HRESULT CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context) override;
    void ReleaseDeviceResources() override;
    void DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size) override;
    void RecolourBackground();
    void RecolourAccent();
    void DrawTitle(ID2D1DeviceContext& context, const std::wstring& text, const D2D1_RECT_F& box, float angle,
                   float opacity);
    void DrawItems(ID2D1DeviceContext& context, const CadrelView& view);
    void DrawFooter(ID2D1DeviceContext& context, const CadrelView& view);
    void DrawMarquee(ID2D1DeviceContext& context);
    void DrawTornTab(ID2D1DeviceContext& context);
    bool DrawTabEmblem(ID2D1DeviceContext& context, const LiveTab& tab, const D2D1_RECT_F& square);
    float MeasureTitle(const std::wstring& text, IDWriteTextFormat* format, float width, float height) const;
    IDWriteTextLayout* LabelLayout(size_t index, float width, float height);

    GraphicsDevice& graphicsDevice_;
    HWND appWindow_;
    WindowGraphics graphics_;
    UniqueWindow window_;

    std::string id_;
    std::vector<LiveTab> tabs_;
    int activeTab_ = 0;

    bool building_ = true;
    bool drawPending_ = false;
    unsigned dpi_ = 96;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool rolled_ = false;
    int fullWidth_ = 0;
    int fullHeight_ = 0;
    int unfoldDirection_ = UnfoldDown;
    bool pinned_ = false;
    bool locked_ = false;
    bool pageFrozen_ = false;
    bool snapEnabled_ = true;
    int gridStep_ = 0;
    RectsProvider neighbourRects_;
    LockQuery policyLocked_;
    std::vector<PixelRect> snapTargets_;
    bool moving_ = false;
    bool resizing_ = false;
    int resizeEdges_ = 0;
    POINT pressPoint_{};
    RECT pressRect_{};
    bool allowHide_ = false;
    bool mergeHighlight_ = false;

    struct RollAnimation {
        ULONGLONG start = 0;
        int x = 0;
        int width = 0;
        int startTop = 0;
        int startHeight = 0;
        int targetTop = 0;
        int targetHeight = 0;
        int maxHeight = 0;
    };
    bool animating_ = false;
    RollAnimation animation_;

    // The active folder's items, in display order, and what the pointer
    // and the selection make of them.
    std::vector<CadrelItem> items_;
    std::vector<bool> selection_;
    int anchor_ = -1;
    int hoverItem_ = -1;
    int hoverTab_ = -1;
    float scrollOffset_ = 0;
    bool listed_ = false;
    FolderWatcher watcher_;
    IconCache* icons_ = nullptr;
    SvgEmblemCache svgs_;

    // Rolled up on purpose with the pointer on its bar: hovering does not
    // unfold it again until the pointer has left it once.
    bool keptRolledUntilLeave_ = false;
    // One press of the left button at a time: its kind is decided at the
    // press and ends at the release or when the capture is lost.
    bool trackingLeave_ = false;
    bool titlePressed_ = false;
    bool tabPressed_ = false;
    int pressedTab_ = -1;
    bool tabDragging_ = false;
    int draggedTab_ = -1;
    bool tornOff_ = false;
    float tabGrabOffset_ = 0;
    POINT tabDragPoint_{};
    std::vector<std::wstring> preClickSelection_;
    bool itemCapture_ = false;
    bool itemPressPending_ = false;
    int pressedItem_ = -1;
    POINT itemPressPoint_{};
    bool wasSoleSelection_ = false;
    bool marqueeActive_ = false;
    POINT marqueeStart_{};
    POINT marqueeEnd_{};
    bool marqueeAdditive_ = false;
    std::vector<bool> marqueeBase_;
    int renameCandidate_ = -1;
    std::wstring renameCandidatePath_;
    LockQuery zoomLocked_;
    Mailbox<TornTab>* tornTabs_ = nullptr;

    // Menus and the in-place rename.
    CadrelMenuServices menuServices_;
    bool menuOpen_ = false;
    bool closing_ = false;
    std::vector<HWND> hostCandidates_;
    std::unique_ptr<IconPicker> iconPicker_;
    // Held only while the item menu is open, for its drawing messages.
    Microsoft::WRL::ComPtr<IContextMenu2> shellMenu_;
    Microsoft::WRL::ComPtr<IContextMenu3> shellMenu3_;
    int renameTarget_ = -1;
    int renameTab_ = -1;
    std::wstring renameSourcePath_;
    UniqueWindow renameHost_;
    HWND renameEdit_ = nullptr;  // child of renameHost_, destroyed with it
    UniqueFont renameFont_;
    WNDPROC renameEditPrevious_ = nullptr;

    // Drag and drop of files.
    Microsoft::WRL::ComPtr<CadrelDropTarget> dropTarget_;
    bool dropHighlight_ = false;
    int dropTab_ = -1;
    DropHandler dropHandler_;
    OperationGuard operationGuard_;

    double opacity_ = 0.62;
    Color tint_ = 0;
    Color accent_ = 0;
    int viewMode_ = 0;
    std::array<float, 3> zooms_ = {1.0f, 1.0f, 1.0f};
    int sortBy_ = 0;
    bool sortDescending_ = false;
    int classifyMode_ = 0;
    SortRule sortRule_;

    float scale_ = 1.0f;  // dpi / 96 of the last build
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> backgroundBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> accentBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> textBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> overlayBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> separatorBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> secondaryBrush_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> placeholderBrush_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> titleFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> tabFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> gridLabelFormat_;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> listLabelFormat_;

    // Item labels laid out once per listing, cell size and format: a hover
    // redraws the whole cadrel, and laying text out is most of a frame.
    struct LabelLayouts {
        std::vector<Microsoft::WRL::ComPtr<IDWriteTextLayout>> layouts;
        float width = 0;
        float height = 0;
        int viewMode = -1;
    };
    LabelLayouts labels_;
    // The footer's text, made again only when the items change.
    std::wstring footerText_;

    // Hosting.
    HostedAppsStore* hostedApps_ = nullptr;
    HostedWindowsQuery hostedEverywhere_;
    std::wstring lastError_;
    HWND lastReleasedWindow_ = nullptr;
    bool hostHighlight_ = false;
    bool tearingDown_ = false;
    bool placingHosted_ = false;
    HWND nudgedWindow_ = nullptr;
    // The tab whose relaunch button was pressed, while Reattach runs for it.
    int relaunchTab_ = -1;
    RECT relaunchRect_{};
};

}  // namespace cadrels
